// The README's pictures of the page: its title and a race, the canvas at its own size.
// usage: node screenshots.js URL FOLDER  (with the page served at URL)
const puppeteer = require('puppeteer-core');
const [url, folder] = process.argv.slice(2);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
(async () => {
  const browser = await puppeteer.launch({executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
                                          args: ['--no-sandbox', '--disable-dev-shm-usage', '--disable-audio-output']});
  const page = await browser.newPage();
  await page.setViewport({width: 700, height: 640});
  await page.goto(url, {waitUntil: 'load'});
  await sleep(2000);
  const canvas = await page.$('#screen');
  await canvas.screenshot({path: `${folder}/web_title.png`});
  await page.keyboard.down('Control'); await sleep(100); await page.keyboard.up('Control');
  await sleep(3500);
  await page.keyboard.down('Alt'); await sleep(5000);
  await canvas.screenshot({path: `${folder}/web_race.png`});
  await page.keyboard.up('Alt');
  await browser.close();
})();
