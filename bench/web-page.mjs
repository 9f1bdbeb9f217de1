// Loads a web page written by `mirakolnik-cli export-html` into fresh tabs of
// headless chromium and reports its size and the median time from the start
// of the navigation to the end of the load event, the grid drawn by then.
// With --pictures DIR it also takes the pictures of docs/web-page.md.
//
//   node web-page.mjs CHROMIUM PAGE.html [--pictures DIR]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [browserPath, file, option, pictures] = process.argv.slice(2);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'mz-web-'));
const browser = await puppeteer.launch({
  executablePath: browserPath,
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', `--user-data-dir=${profile}`],
});
const url = 'file://' + path.resolve(file);
const times = [];
for (let i = 0; i < 21; ++i) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(url, { waitUntil: 'load' });
  const t = await page.evaluate(() => {
    const nav = performance.getEntriesByType('navigation')[0];
    return document.querySelectorAll('#mz-grid .c').length > 0 ? nav.loadEventEnd - nav.startTime : NaN;
  });
  if (i > 0) times.push(t); // the first load also starts the renderer
  await page.close();
}
times.sort((a, b) => a - b);
const median = times[times.length >> 1];
console.log(`Strona: ${(fs.statSync(file).size / 1024).toFixed(1)} kB`);
console.log(`Wczytanie (mediana z ${times.length}): ${median.toFixed(1)} ms, najdłużej ${times[times.length - 1].toFixed(1)} ms`);

if (option === '--pictures') {
  const shots = [['web-page-desktop.png', 1280, 900, false], ['web-page-phone.png', 375, 812, true]];
  for (const [name, width, height, mobile] of shots) {
    const page = await browser.newPage();
    await page.setViewport({ width, height, isMobile: mobile, hasTouch: mobile, deviceScaleFactor: mobile ? 2 : 1 });
    await page.goto(url, { waitUntil: 'load' });
    await page.evaluate(() => localStorage.clear());
    await page.reload({ waitUntil: 'load' });
    // A few letters typed and one checked, so the picture shows the page at work.
    await page.click('#mz-l0 li:nth-child(2) .cl');
    await page.keyboard.type('abc');
    await page.evaluate(() => [...document.querySelectorAll('#mz-tools button')]
      .find((b) => b.textContent === 'Sprawdź słowo').click());
    await page.screenshot({ path: path.join(pictures, name), fullPage: !mobile });
    await page.close();
  }
}
await browser.close();
fs.rmSync(profile, { recursive: true, force: true });
