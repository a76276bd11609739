// What the best race's ghost costs the page: a long race kept in the records table, the
// page opened three times; prints when the title showed, how long the ghost took to trace
// and the longest the title's loop was held up by it (the page has no threads: the ghost
// is traced a slice at a time between the title's ticks).
// usage: node ghost_bench.js URL REPLAY_FILE FRAMES
const fs = require('fs');
const puppeteer = require('puppeteer-core');

const [url, replayFile, frames] = process.argv.slice(2);
(async () => {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-dev-shm-usage', '--disable-audio-output'],
  });
  const page = await browser.newPage();
  await page.goto(url + 'page.css');
  const replay = fs.readFileSync(replayFile).toString('hex');
  const table = `kelto1 records 1\n2026-12-11 08:00:00\tRacingCar\t7\t2\tGinza\t120\t${frames}\tlong.k1r\n`;
  await page.evaluate((table, replay) => {
    localStorage.clear();
    localStorage.setItem('kelto1:/kelto1/records.txt', [...new TextEncoder().encode(table)].map((b) => b.toString(16).padStart(2, '0')).join(''));
    localStorage.setItem('kelto1:/kelto1/records/long.k1r', replay);
  }, table, replay);
  for (let i = 0; i < 3; ++i) {
    const t0 = Date.now();
    await page.goto(url, {waitUntil: 'load'});
    await page.waitForFunction(() => Module.k1state && Module.k1state.title === '1', {timeout: 60000, polling: 10});
    const title = Date.now() - t0;
    await page.waitForFunction(() => Module.k1state.ghost_ms !== undefined, {timeout: 60000});
    const traced = await page.evaluate(() => Module.k1state.ghost_ms);
    const held = await page.evaluate(() => Module.k1state.held_ms);
    console.log(`ghost bench: title ${title} ms after the page was asked for; a ${frames}-frame race's ghost traced in ${traced} ms, ` +
                `the title held up at most ${held} ms at a time`);
  }
  await browser.close();
})().catch((e) => { console.log('ghost bench: ' + e.message); process.exit(1); });
