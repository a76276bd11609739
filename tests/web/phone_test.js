// The browser edition on a phone, in Chromium emulating one (touch, device scale 3),
// upright and on its side: the picture fits the screen with nothing off its edges, the
// touch buttons are beside or below it and big enough for a thumb, a race is started,
// driven and steered by touch with two fingers at once, the page is kept for offline play
// and comes back with the network off, the manifest's icons are there, and a browser
// storage that refuses to keep anything is told on the page in one line.
// The page is served from ROOT at PATH by this test's own web server, which it can take
// off the network: the release zip unpacked into a folder of a web server, as a host has it.
// usage: node phone_test.js ROOT PATH SCREENSHOT_FOLDER
const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [root, sitePath, shots] = process.argv.slice(2);
const types = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
               '.ogg': 'audio/ogg', '.png': 'image/png', '.ico': 'image/x-icon', '.webmanifest': 'application/manifest+json'};
let offline = false;  // every request fails as with no network at all
let nextVersion = false;  // the site as the next version of the game would have it
const server = http.createServer((req, res) => {
  if (offline) { req.socket.destroy(); return; }
  if (nextVersion && req.url.endsWith('/sw.js')) {
    fs.readFile(path.join(root, sitePath, 'sw.js'), 'utf8', (err, text) => {
      res.writeHead(200, {'Content-Type': 'text/javascript', 'Cache-Control': 'no-cache'});
      res.end(text.replace(/const CACHE = '([^']*)'/, "const CACHE = '$1-next'"));
    });
    return;
  }
  let file = path.join(root, decodeURIComponent(new URL(req.url, 'http://x').pathname));
  if (!file.startsWith(path.resolve(root))) { res.writeHead(403); res.end(); return; }
  if (fs.existsSync(file) && fs.statSync(file).isDirectory()) file = path.join(file, 'index.html');
  fs.readFile(file, (err, data) => {
    if (err) { res.writeHead(404); res.end(); return; }
    res.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream', 'Cache-Control': 'no-cache'});
    res.end(data);
  });
});
let url;
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
let failed = 0, passed = 0;
function check(what, ok, detail) {
  if (ok) passed++;
  else failed++;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}${detail !== undefined ? ': ' + detail : ''}`);
}

async function state(page) { return page.evaluate(() => Object.assign({frames: Module.k1frames || 0}, Module.k1state || {})); }

async function waitFor(page, test, ms) {
  const until = Date.now() + ms;
  for (;;) {
    const s = await state(page).catch(() => ({}));
    if (test(s)) return s;
    if (Date.now() > until) return null;
    await sleep(50);
  }
}

// Fingers on the touch screen, each on its own: the browser gets every finger down at once.
class Fingers {
  constructor(client) { this.client = client; this.down = new Map(); }
  points() { return [...this.down].map(([id, p]) => ({x: p.x, y: p.y, id, radiusX: 5, radiusY: 5, force: 1})); }
  async put(id, p) { this.down.set(id, p); await this.client.send('Input.dispatchTouchEvent', {type: 'touchStart', touchPoints: this.points()}); }
  async slide(id, p) { this.down.set(id, p); await this.client.send('Input.dispatchTouchEvent', {type: 'touchMove', touchPoints: this.points()}); }
  async lift(id) { this.down.delete(id); await this.client.send('Input.dispatchTouchEvent', {type: 'touchEnd', touchPoints: this.points()}); }
}

// Where things are on the page, in CSS pixels.
async function layout(page) {
  return page.evaluate(() => {
    const box = (el) => { const r = el.getBoundingClientRect(); return {left: r.left, top: r.top, right: r.right, bottom: r.bottom, w: r.width, h: r.height}; };
    const controls = {};
    document.querySelectorAll('[data-key]').forEach((b) => { controls[b.dataset.key] = Object.assign(box(b), {shown: b.offsetParent !== null}); });
    // Every shown element that reaches past the screen's sides.
    const outside = [...document.querySelectorAll('body *')].filter((el) => {
      if (el.offsetParent === null || getComputedStyle(el).position === 'fixed') return false;
      const r = el.getBoundingClientRect();
      return r.width > 0 && (r.left < -0.5 || r.right > innerWidth + 0.5);
    }).map((el) => el.id || el.tagName);
    const d = document.documentElement;
    return {canvas: box(Module.canvas), controls, outside, width: innerWidth, height: innerHeight,
            scrollW: Math.max(d.scrollWidth, document.body.scrollWidth), scrollH: Math.max(d.scrollHeight, document.body.scrollHeight)};
  });
}
const centre = (r) => ({x: (r.left + r.right) / 2, y: (r.top + r.bottom) / 2});
const overlap = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;

async function phone(browser, name, width, height) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.on('pageerror', (e) => console.log(`${name} page error:`, e.message));
  const said = [];
  page.on('console', (m) => said.push(`${m.type()}: ${m.text()}`));
  await page.setViewport({width, height, deviceScaleFactor: 3, isMobile: true, hasTouch: true, isLandscape: width > height});
  const fingers = new Fingers(await page.createCDPSession());
  await page.goto(url, {waitUntil: 'load'});
  let s = await waitFor(page, (s) => s.title === '1', 15000);
  check(`${name}: the title screen appears`, s !== null);

  const l = await layout(page);
  const c = l.canvas;
  check(`${name}: no page wider or taller than the screen`, l.scrollW <= l.width && l.scrollH <= l.height,
        `${l.scrollW} x ${l.scrollH} in ${l.width} x ${l.height}`);
  check(`${name}: nothing reaches past the screen's sides`, l.outside.length === 0, l.outside.join());
  check(`${name}: the picture is on the screen, its shape kept`, c.left >= -0.5 && c.right <= l.width + 0.5 && c.top >= -0.5 &&
        c.bottom <= l.height + 0.5 && Math.abs(c.w / c.h - 630 / 576) < 0.01, JSON.stringify(c));
  const upright = height > width;
  // Upright it takes the whole width; on its side the whole height but what the pads need.
  check(`${name}: the picture is as large as the screen allows`, upright ? c.w >= 0.95 * l.width : c.h >= 0.95 * l.height,
        `${c.w.toFixed(0)} x ${c.h.toFixed(0)}`);
  const keys = ['left', 'right', 'alt', 'ctrl'];
  const small = keys.filter((k) => !l.controls[k] || !l.controls[k].shown || l.controls[k].w < 48 || l.controls[k].h < 48);
  check(`${name}: the four touch buttons show, each at least 48 px`, small.length === 0, small.join() ||
        keys.map((k) => `${k} ${l.controls[k].w.toFixed(0)}x${l.controls[k].h.toFixed(0)}`).join(', '));
  const covering = Object.keys(l.controls).filter((k) => l.controls[k].shown && overlap(l.controls[k], c));
  check(`${name}: no touch button covers the picture`, covering.length === 0, covering.join());
  const placed = upright ? keys.every((k) => l.controls[k].top >= c.bottom)
    : ['left', 'right'].every((k) => l.controls[k].right <= c.left) && ['alt', 'ctrl'].every((k) => l.controls[k].left >= c.right);
  check(`${name}: the buttons are ${upright ? 'below' : 'beside'} the picture, steering on the left`, placed &&
        l.controls.left.right <= l.controls.alt.left);
  check(`${name}: the title and replay buttons show`, l.controls.escape.shown && l.controls.f2.shown &&
        l.controls.escape.h >= 40 && l.controls.f2.h >= 40);

  // The title's hints (its dim grey line below the notice), counted in the picture.
  const hintInk = await page.evaluate(() => {
    const d = Module.canvas.getContext('2d').getImageData(120, 240, 497, 16).data;
    let n = 0;
    for (let i = 0; i < d.length; i += 4) if (d[i] === 0x90 && d[i + 1] === 0x90 && d[i + 2] === 0x90) n++;
    return n;
  });
  check(`${name}: the title names no keys on a touch screen`, hintInk === 0, hintInk);
  await page.screenshot({path: `${shots}/web_${name}.png`});
  // A thumb on the page neither scrolls, zooms, pulls to refresh, selects text nor opens
  // the long-press menu.
  const still = await page.evaluate(() => {
    const b = getComputedStyle(document.body), h = getComputedStyle(document.documentElement);
    const menu = new MouseEvent('contextmenu', {bubbles: true, cancelable: true});
    document.querySelector('[data-key=alt]').dispatchEvent(menu);
    return {touch: b.touchAction, select: b.userSelect || b.webkitUserSelect, pull: h.overscrollBehaviorY,
            viewport: document.querySelector('meta[name=viewport]').content, menu: menu.defaultPrevented};
  });
  check(`${name}: no scrolling, zoom, pull to refresh, selection or long-press menu`, still.touch === 'none' && still.select === 'none' &&
        still.pull === 'none' && /user-scalable=no/.test(still.viewport) && still.menu, JSON.stringify(still));

  // Turned over, the page follows at once: the picture and the buttons swap places.
  await page.setViewport({width: height, height: width, deviceScaleFactor: 3, isMobile: true, hasTouch: true, isLandscape: width < height});
  const turned = await page.waitForFunction((upright) => {
    const c = Module.canvas.getBoundingClientRect(), b = document.querySelector('[data-key=ctrl]').getBoundingClientRect();
    return (upright ? b.left >= c.right && c.height >= 0.95 * innerHeight : b.top >= c.bottom && c.width >= 0.95 * innerWidth) &&
      c.right <= innerWidth + 0.5 && c.bottom <= innerHeight + 0.5;
  }, {timeout: 5000}, upright).then(() => true, () => false);
  check(`${name}: turned over, the buttons move ${upright ? 'beside' : 'below'} the picture and it fits again`, turned);
  await page.setViewport({width, height, deviceScaleFactor: 3, isMobile: true, hasTouch: true, isLandscape: width > height});
  await page.waitForFunction((w) => Math.abs(Module.canvas.getBoundingClientRect().width - w) < 0.5, {timeout: 5000}, c.w).catch(() => null);

  const tap = async (p) => { await fingers.put(9, p); await sleep(50); await fingers.lift(9); };
  if (upright) {
    // The selector and the delay box by touch: a tap just beside the selector's small
    // box opens its list, a tap on an item chooses it; a tap on the delay box gives it
    // the phone's keyboard.
    const sel = await page.$eval('#carsel', (e) => { const r = e.getBoundingClientRect(); return {x: r.left + r.width / 2, y: r.bottom + 6}; });
    await tap(sel);
    const item = await page.waitForFunction(() => {
      const li = document.querySelector('#carsel-list li:nth-child(3)');
      const r = li.getBoundingClientRect();
      return r.height >= 24 && {x: r.left + r.width / 2, y: r.top + r.height / 2, h: r.height};
    }, {timeout: 3000}).then((h) => h.jsonValue(), () => null);
    check(`${name}: a tap beside the selector opens its list, items a finger can hit`, item !== null, item && item.h);
    if (item) await tap(item);
    s = await waitFor(page, (s) => s.car === 'MotorBike', 3000);
    check(`${name}: a tap on MotorBike chooses it`, s !== null, (await state(page)).car);
    const delay = await page.$eval('#delay', (e) => { const r = e.getBoundingClientRect(); return {x: r.left + r.width / 2, y: r.top + r.height / 2}; });
    await tap(delay);
    const focused = await page.evaluate(() => document.activeElement.id);
    check(`${name}: a tap on the delay box gives it the keyboard`, focused === 'delay', focused);
    await page.evaluate(() => document.getElementById('delay').select());
    await page.keyboard.type('3');
    s = await waitFor(page, (s) => s.delay_held === '3', 3000);
    check(`${name}: typing 3 sets the delay`, s !== null, (await state(page)).delay_held);
  }

  // A tap on the brake starts the race.
  const at = (k) => centre(l.controls[k]);
  await fingers.put(0, at('ctrl'));
  await sleep(50);
  await fingers.lift(0);
  s = await waitFor(page, (s) => s.banner === 'PLAYER 1 GET READY', 8000);
  check(`${name}: a tap on the brake starts a race: PLAYER 1 GET READY`, s !== null);
  s = await waitFor(page, (s) => s.banner === '' && s.title === '0', 12000);
  check(`${name}: the banner goes`, s !== null);

  // One thumb on the accelerator, held, and the other steering.
  await fingers.put(0, at('alt'));
  s = await waitFor(page, (s) => Number(s.speed) >= 20, 5000);
  check(`${name}: holding the accelerator raises the speed`, s !== null, (await state(page)).speed);
  const x0 = Number((await state(page)).car_x);
  await fingers.put(1, at('left'));
  s = await waitFor(page, (s) => Number(s.car_x) <= x0 - 8, 5000);
  check(`${name}: a second finger on the left button steers left while accelerating`, s !== null,
        `x ${x0} -> ${(await state(page)).car_x}`);
  // The steering thumb slides across to the right button, without lifting.
  const x1 = Number((await state(page)).car_x);
  await fingers.slide(1, centre({left: l.controls.left.right, right: l.controls.right.left, top: l.controls.left.top, bottom: l.controls.left.bottom}));
  await fingers.slide(1, at('right'));
  s = await waitFor(page, (s) => Number(s.car_x) >= x1 + 8, 5000);
  const held = await page.$$eval('[data-key].held', (bs) => bs.map((b) => b.dataset.key).sort().join());
  check(`${name}: sliding the thumb onto the right button steers right`, s !== null, `x ${x1} -> ${(await state(page)).car_x}`);
  check(`${name}: the accelerator and the right button are held, the left one let go`, held === 'alt,right', held);
  check(`${name}: the car still drives`, Number((await state(page)).speed) > 0, (await state(page)).speed);
  // Put away mid-race (another app, the home screen), the race waits; a touch on the
  // picture resumes it.
  await page.evaluate(() => {
    Object.defineProperty(document, 'hidden', {value: true, configurable: true});
    document.dispatchEvent(new Event('visibilitychange'));
    delete document.hidden;
  });
  s = await waitFor(page, (s) => s.paused === '1', 3000);
  check(`${name}: a page put away pauses the race`, s !== null);
  await tap(centre(c));
  s = await waitFor(page, (s) => s.paused === '0', 3000);
  check(`${name}: a touch on the picture resumes it`, s !== null);
  // The thumbs were let go with the page put away: they press again.
  await fingers.lift(1);
  await fingers.lift(0);
  await fingers.put(0, at('alt'));
  await fingers.put(1, at('right'));
  const f0 = (await state(page)).frames, t0 = Date.now();
  await sleep(2000);
  const f1 = (await state(page)).frames, fps = (f1 - f0) * 1000 / (Date.now() - t0);
  console.log(`${name}: ${fps.toFixed(1)} frames a second in the race`);
  await page.screenshot({path: `${shots}/web_${name}_race.png`});
  await fingers.lift(1);
  await fingers.lift(0);

  // The title button is Escape: back to the title.
  await fingers.put(2, at('escape'));
  await sleep(50);
  await fingers.lift(2);
  s = await waitFor(page, (s) => s.title === '1', 8000);
  check(`${name}: the title button goes back to the title`, s !== null);
  check(`${name}: the race was kept for a replay`, (await page.evaluate(() => localStorage.getItem('kelto1:/kelto1/last.k1r') || '')).length > 0);
  check(`${name}: the title's line says nothing of quitting with Esc`, s && !/Esc/.test(s.notice), s && s.notice);

  // The sound is switched off and on by a tap, and the records table opened by one and
  // closed by the title button.
  const button = async (selector) => page.$eval(selector, (b) => {
    const r = b.getBoundingClientRect();
    return {x: r.left + r.width / 2, y: r.top + r.height / 2, w: r.width, h: r.height, shown: b.offsetParent !== null};
  });
  const sound = await button('#mute'), records = await button('[data-key=f3]');
  check(`${name}: the sound and records buttons show, big enough for a finger`, sound.shown && records.shown &&
        sound.h >= 40 && records.h >= 40, `${sound.w}x${sound.h}, ${records.w}x${records.h}`);
  await tap(sound);
  s = await waitFor(page, (s) => s.muted === '1', 3000);
  check(`${name}: a tap on the sound button mutes`, s !== null && (await page.evaluate(() => Module.k1gains.music.gain.value)) === 0);
  await tap(sound);
  s = await waitFor(page, (s) => s.muted === '0', 3000);
  check(`${name}: a second tap brings the sound back`, s !== null);
  await tap(records);
  s = await waitFor(page, (s) => s.panel !== undefined && s.panel !== '0', 3000);
  check(`${name}: a tap on the records button shows the table`, s !== null);
  await tap(at('escape'));
  s = await waitFor(page, (s) => s.panel === '0' && s.title === '1', 3000);
  check(`${name}: the title button closes it`, s !== null);

  // The records table by touch, with two races kept (the one driven above, twice, as the
  // page finds them when it is opened again): a tap on
  // the second race's row picks it, its row turning dark blue, a tap on it again watches
  // its replay, and the title button goes back, to the table and then to the title.
  const lastRace = await page.evaluate(() => localStorage.getItem('kelto1:/kelto1/last.k1r'));
  const races = 'kelto1 records 1\n2026-12-11 08:00:00\tRacingCar\t7\t2\tGinza\t120\t400\t20261211-080000.k1r\n' +
                '2026-12-11 09:00:00\tRacingCar\t9\t2\tGinza\t80\t400\t20261211-090000.k1r\n';
  await page.evaluate((races, replay) => {
    const hex = [...new TextEncoder().encode(races)].map((b) => b.toString(16).padStart(2, '0')).join('');
    localStorage.setItem('kelto1:/kelto1/records.txt', hex);
    for (const name of ['20261211-080000.k1r', '20261211-090000.k1r']) localStorage.setItem('kelto1:/kelto1/records/' + name, replay);
  }, races, lastRace);
  // The page reads the browser's storage as it starts.
  await page.reload({waitUntil: 'load'});
  s = await waitFor(page, (s) => s.title === '1', 15000);
  // The rows the dark blue of the race picked covers, down the table's left edge, in the
  // picture's pixels: the table's rectangle starts at x 120 and its rows 2 + 4 pixels in,
  // their letters 4 further, so x 127 is blue without any letter on it.
  const picked = () => page.evaluate(() => {
    const d = Module.canvas.getContext('2d').getImageData(127, 0, 1, Module.canvas.height).data;
    const rows = [];
    for (let y = 0; y < Module.canvas.height; y++) if (d[4 * y] === 0 && d[4 * y + 1] === 0 && d[4 * y + 2] === 0x80) rows.push(y);
    return rows.length ? {top: rows[0], bottom: rows[rows.length - 1], count: rows.length} : null;
  });
  // A point of the picture, on the page as it is now.
  const shown = (await layout(page)).canvas;
  const onPage = (px, py) => ({x: shown.left + px * shown.w / 630, y: shown.top + py * shown.h / 576});
  await tap(records);
  s = await waitFor(page, (s) => s.panel === '5' && s.panel_pick === '0', 3000);
  const first = s && await picked();
  const t = await state(page);
  check(`${name}: the table shows both races, the first picked`, s !== null && first !== null, `${t.panel} lines, pick ${t.panel_pick}`);
  if (first) {
    const lineHeight = first.bottom - first.top + 1;
    const second = onPage(300, first.top + lineHeight + lineHeight / 2);
    await tap(second);
    s = await waitFor(page, (s) => s.panel_pick === '1', 3000);
    const now = await picked();
    check(`${name}: a tap on the second race picks it, its row dark blue`, s !== null && now !== null &&
          now.top === first.top + lineHeight && now.count === lineHeight, JSON.stringify({first, now}));
    await tap(second);
    s = await waitFor(page, (s) => s.caption === 'REPLAY' && s.panel === '0', 5000);
    check(`${name}: a tap on the race picked watches its replay`, s !== null);
    await tap(at('escape'));
    s = await waitFor(page, (s) => s.title === '1' && s.panel === '5', 15000);
    check(`${name}: the title button ends the replay, the table back`, s !== null);
  }
  await tap(at('escape'));
  s = await waitFor(page, (s) => s.panel === '0' && s.title === '1', 3000);
  check(`${name}: the title button closes the table`, s !== null);

  // Kept for offline play: a worker holds every file, and the page comes back without network.
  const worker = await page.evaluate(async () => {
    const reg = await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) await new Promise((r) => navigator.serviceWorker.addEventListener('controllerchange', r));
    const names = await caches.keys();
    const files = [];
    for (const n of names) (await (await caches.open(n)).keys()).forEach((r) => files.push(new URL(r.url).pathname.replace(/.*\//, '')));
    return {active: !!reg.active, names, files};
  });
  check(`${name}: the service worker is ready`, worker.active, worker.names.join());
  const count = (f) => worker.files.filter((x) => x === f).length;
  check(`${name}: one cache holds every file once, the tune among them`, worker.names.length === 1 &&
        ['kelto1.js', 'kelto1.wasm', 'index.html', 'page.js', 'touch.js', 'bgm.ogg', 'manifest.webmanifest'].every((f) => count(f) === 1),
        worker.files.join());
  offline = true;
  const t1 = Date.now();
  await page.reload({waitUntil: 'load'}).catch(() => null);
  s = await waitFor(page, (s) => s.title === '1', 15000);
  check(`${name}: with the network off a reload brings the title back`, s !== null);
  if (s) console.log(`${name}: the title ${Date.now() - t1} ms after the reload, offline`);
  offline = false;

  await context.close();
  return said;
}

(async () => {
  await new Promise((r) => server.listen(0, '127.0.0.1', r));
  url = `http://127.0.0.1:${server.address().port}${sitePath}`;
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-dev-shm-usage', '--disable-audio-output'],
  });
  await phone(browser, 'phone', 390, 844);
  await phone(browser, 'landscape', 844, 390);

  // The manifest: what a phone installs, with its icons at their sizes.
  const page = await browser.newPage();
  await page.goto(url, {waitUntil: 'load'});
  const manifest = await page.evaluate(async () => {
    const link = document.querySelector('link[rel=manifest]');
    const m = await (await fetch(link.href)).json();
    const icons = [];
    for (const icon of m.icons || []) {
      const img = new Image();
      img.src = new URL(icon.src, link.href).href;
      const ok = await img.decode().then(() => true, () => false);
      icons.push({sizes: icon.sizes, purpose: icon.purpose || 'any', real: ok ? `${img.naturalWidth}x${img.naturalHeight}` : 'none'});
    }
    const favicon = await fetch('favicon.ico').then((r) => r.ok, () => false);
    return {name: m.name, short: m.short_name, display: m.display, start: m.start_url, theme: m.theme_color, icons, favicon};
  });
  const has = (sizes, purpose) => manifest.icons.some((i) => i.sizes === sizes && i.real === sizes && i.purpose.split(' ').includes(purpose));
  check('the manifest names the game and shows it full screen', manifest.name === 'Kelto1' && manifest.short === 'Kelto1' &&
        ['fullscreen', 'standalone'].includes(manifest.display) && !!manifest.theme && manifest.start === './', JSON.stringify(manifest));
  check('the manifest\'s icons are there at 192 and 512 px, and a maskable one', has('192x192', 'any') && has('512x512', 'any') &&
        has('512x512', 'maskable'), JSON.stringify(manifest.icons));
  check('the browser tab finds its icon', manifest.favicon);
  await page.close();
  let s;

  // A new version: fetched whole while the old one still runs the open page, and in use,
  // alone, once that page has closed.
  const vctx = await browser.createBrowserContext();
  let vpage = await vctx.newPage();
  await vpage.goto(url, {waitUntil: 'load'});
  const cachesNow = (p) => p.evaluate(async () => (await caches.keys()).sort());
  await vpage.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) await new Promise((r) => navigator.serviceWorker.addEventListener('controllerchange', r));
  });
  const first = await cachesNow(vpage);
  nextVersion = true;
  await vpage.evaluate(async () => { await (await navigator.serviceWorker.getRegistration()).update(); });
  const waiting = await vpage.waitForFunction(async () => {
    const reg = await navigator.serviceWorker.getRegistration();
    return !!reg.waiting;
  }, {timeout: 20000}).then(() => true, () => false);
  const both = await cachesNow(vpage);
  const oldWorker = await vpage.evaluate(async () => (await navigator.serviceWorker.getRegistration()).active.scriptURL);
  check('a new version is fetched whole beside the old, which still runs the open page', waiting && first.length === 1 &&
        both.length === 2 && both.includes(first[0]) && both.includes(first[0] + '-next') && !!oldWorker, both.join());
  // The old one goes on running the open page (watched for two seconds: a worker that
  // took over at once would have done so by then).
  const heldOn = await vpage.evaluate(async () => {
    const reg = await navigator.serviceWorker.getRegistration();
    const running = navigator.serviceWorker.controller;
    for (const until = Date.now() + 2000; Date.now() < until;) {
      if (!reg.waiting || navigator.serviceWorker.controller !== running || (await caches.keys()).length !== 2) return false;
      await new Promise((r) => setTimeout(r, 100));
    }
    return true;
  });
  check('the open page is not switched to the new version under it', heldOn);
  const newFiles = await vpage.evaluate(async (name) => (await (await caches.open(name)).keys()).length, first[0] + '-next');
  const oldFiles = await vpage.evaluate(async (name) => (await (await caches.open(name)).keys()).length, first[0]);
  check('the new version holds as many files as the old', newFiles === oldFiles && newFiles > 10, `${newFiles} and ${oldFiles}`);
  await vpage.close();
  vpage = await vctx.newPage();
  await vpage.goto(url, {waitUntil: 'load'});
  const replaced = await vpage.waitForFunction(async (name) => {
    const keys = await caches.keys();
    return keys.length === 1 && keys[0] === name;
  }, {timeout: 20000}, first[0] + '-next').then(() => true, () => false);
  s = await waitFor(vpage, (s) => s.title === '1', 15000);
  check('once the old page is closed the new version alone is kept, and the title comes', replaced && s !== null,
        (await cachesNow(vpage)).join());
  nextVersion = false;
  await vctx.close();

  // The game stopping for good (the runtime's abort, as a fault it cannot clamp would end
  // it) gives the title back with one line, not a dead page; a second stop at once is
  // left stopped, with the line saying to reload.
  const stop = await (await browser.createBrowserContext()).newPage();
  await stop.goto(url, {waitUntil: 'load'});
  s = await waitFor(stop, (s) => s.title === '1', 15000);
  await Promise.all([stop.waitForNavigation({waitUntil: 'load', timeout: 15000}).catch(() => null),
                     stop.evaluate(() => { Module.onAbort('a fault'); })]);
  s = await waitFor(stop, (s) => s.title === '1', 15000);
  const stopLine = await stop.$eval('#notice', (n) => getComputedStyle(n).display !== 'none' ? n.textContent : '');
  check('a stopped game comes back at the title with one line', s !== null && /stopped \(a fault\).*title/.test(stopLine), stopLine);
  await stop.evaluate(() => { Module.onAbort('a fault again'); });
  await sleep(500);
  const stayed = await stop.evaluate(() => document.getElementById('notice').textContent).catch(() => 'navigated');
  check('stopping again at once does not reload over and over', /Reload the page/.test(stayed), stayed);
  await stop.browserContext().close();

  // A browser whose storage keeps nothing: the page says so once, in one line, and plays on.
  const full = await browser.createBrowserContext();
  const p = await full.newPage();
  await p.evaluateOnNewDocument(() => {
    Storage.prototype.setItem = function () { throw new DOMException('The quota has been exceeded.', 'QuotaExceededError'); };
  });
  await p.setViewport({width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true});
  await p.goto(url, {waitUntil: 'load'});
  s = await waitFor(p, (s) => s.title === '1', 15000);
  const race = async () => {
    await p.keyboard.down('Control'); await sleep(100); await p.keyboard.up('Control');
    s = await waitFor(p, (s) => s.banner === '' && s.title === '0', 15000);
    await p.keyboard.press('Escape');
    return waitFor(p, (s) => s.title === '1', 8000);
  };
  s = await race();
  const line = await p.$eval('#notice', (n) => ({text: n.textContent, shown: n.offsetParent !== null || getComputedStyle(n).display !== 'none',
    lines: Math.round(n.getBoundingClientRect().height / parseFloat(getComputedStyle(n).lineHeight || '16') || 0), h: n.getBoundingClientRect().height}));
  check('a storage that refuses: the title comes back', s !== null);
  check('a storage that refuses: the page says the settings and the replay were not kept',
        line.shown && /settings/.test(line.text) && /replay/.test(line.text) && /not kept/.test(line.text), line.text);
  check('that notice is one line', line.h > 0 && line.h < 40, line.h);
  s = await race();
  const again = await p.$eval('#notice', (n) => n.textContent);
  check('a second refused save is not told again', s !== null && again === line.text, again);
  await full.close();

  await browser.close();
  server.close();
  console.log(`phone test: ${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
})().catch((e) => { console.log('phone test: ' + e.message); process.exit(1); });
