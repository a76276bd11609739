// The page offline: every file of this version is kept in one cache named for it, filled
// whole before the version is used, so the page never mixes an older script with a newer
// game. A new version waits until no page of the old one is open, then drops the old cache.
const CACHE = '@CACHE@';
const FILES = [@FILES@];

self.addEventListener('install', (event) => {
  // Asked again of the server, which answers "unchanged" for what the page has just
  // downloaded: the tune and the game are not fetched a second time.
  event.waitUntil(caches.open(CACHE).then((cache) =>
    cache.addAll(FILES.map((f) => new Request(f, {cache: 'no-cache'})))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('kelto1-web-') && k !== CACHE).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, {ignoreSearch: true}))
    .then((kept) => kept || fetch(event.request)));
});
