// Solves the web pages written by `mirakolnik-cli export-html` in headless
// chromium and compares what the page shows with the crossword as the program
// itself describes it (`mirakolnik-cli show --answers`).
//
//   node check-web.mjs CHROMIUM DIR
// DIR holds k.html/k.txt (a composed crossword with a rozwiązanie), mini.html/
// mini.txt (a small crossword with Polish answers and a clue full of markup),
// sounds.html/sounds.txt (the sample crossword with its sounds embedded).
import fs from 'node:fs';
import path from 'node:path';
import assert from 'node:assert';
import { execFileSync } from 'node:child_process';
import puppeteer from 'puppeteer-core';

const [browserPath, dir] = process.argv.slice(2);
const CTRL_LETTERS = { Ą: 'A', Ć: 'C', Ę: 'E', Ł: 'L', Ń: 'N', Ó: 'O', Ś: 'S', Ź: 'X', Ż: 'Z' };

// "Rozmiar: 15 × 11", the grid rows, "N. H|V col,row: clue [sound] = ANSWER", "Rozwiązanie: ...".
function readShow(file) {
  const lines = fs.readFileSync(file, 'utf8').split('\n');
  const size = /^Rozmiar: (\d+) × (\d+)$/.exec(lines[0]);
  assert(size, `no size line in ${file}`);
  const width = Number(size[1]), height = Number(size[2]);
  const rows = lines.slice(1, 1 + height);
  const words = lines.slice(1 + height)
    .map((line) => /^(\d+)\. ([HV]) (\d+),(\d+): (.*?)(?: \[([^\]]*)\])? = (.*)$/.exec(line))
    .filter(Boolean)
    .map((m) => ({ across: m[2] === 'H', col: Number(m[3]), row: Number(m[4]), clue: m[5], sound: m[6], answer: m[7] }));
  const phrase = lines.map((line) => /^Rozwiązanie: (.*)$/.exec(line)).find(Boolean);
  for (const w of words) {
    w.cells = [];
    for (let c = w.col, r = w.row; c <= width && r <= height && rows[r - 1][c - 1] !== '*'; w.across ? ++c : ++r)
      w.cells.push((r - 1) * width + c - 1);
  }
  return { width, height, rows, words, phrase: phrase ? phrase[1] : null };
}

const profile = fs.mkdtempSync(path.join(dir, 'profile-'));
const browser = await puppeteer.launch({
  executablePath: browserPath,
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', `--user-data-dir=${profile}`],
});
const failures = [];

async function openPage(file) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  const requests = [];
  page.on('request', (request) => requests.push(request.url()));
  page.on('pageerror', (error) => failures.push(`${file}: ${error.message}`));
  page.on('dialog', (dialog) => dialog.accept());
  await page.goto('file://' + path.join(dir, file), { waitUntil: 'load' });
  page.requests = requests;
  return page;
}

const state = (page) => page.evaluate(() => {
  const cells = [...document.querySelectorAll('#mz-grid .c')];
  const list = (d) => [...document.querySelectorAll(`#mz-l${d} li`)].map((li) => {
    const b = li.querySelector('.cl');
    return { n: Number(b.querySelector('b').textContent.replace('.', '')), clue: b.childNodes[1].textContent.trim(),
      len: b.querySelector('.len').textContent, sound: !!li.querySelector('.snd') };
  });
  return {
    numbers: cells.map((c) => Number(c.querySelector('.n')?.textContent ?? 0)),
    letters: cells.map((c) => c.querySelector('.l')?.textContent ?? ''),
    wrong: cells.map((c) => c.classList.contains('e')),
    helped: cells.map((c) => c.classList.contains('h')),
    labels: cells.map((c) => c.getAttribute('aria-label')),
    across: list(0), down: list(1),
    current: document.getElementById('mz-cur').textContent,
    status: document.getElementById('mz-status').textContent,
    done: document.getElementById('mz-done').classList.contains('on') ? document.getElementById('mz-done').textContent : '',
    phrase: [...document.querySelectorAll('#mz-phrase .q span')].map((s) => s.textContent),
    focused: document.activeElement && document.activeElement.id,
  };
});

const clickCell = (page, k) => page.click(`#mz-c${k}`);
const clickClue = async (page, across, n) => {
  const items = await page.$$(`#mz-l${across ? 0 : 1} li .cl`);
  for (const item of items)
    if ((await item.evaluate((b) => b.querySelector('b').textContent)) === `${n}.`) return item.click();
  throw new Error(`no clue ${n} ${across ? 'poziomo' : 'pionowo'}`);
};
const tool = (page, text) => page.evaluate((t) => [...document.querySelectorAll('#mz-tools button')]
  .find((b) => b.textContent === t).click(), text);

// One letter, each Polish letter by one of the three ways a solver types it:
// the program's Ctrl convention, an AltGr layout (Ctrl+Alt with the letter as
// the key), and the text an on-screen keyboard puts into the hidden input.
let way = 0;
async function typeLetter(page, ch) {
  if (!CTRL_LETTERS[ch]) return page.keyboard.type(ch.toLowerCase());
  switch (way++ % 3) {
  case 0:
    await page.keyboard.down('Control');
    await page.keyboard.press(`Key${CTRL_LETTERS[ch]}`);
    return page.keyboard.up('Control');
  case 1:
    return page.evaluate((key) => document.activeElement.dispatchEvent(new KeyboardEvent('keydown',
      { key, ctrlKey: true, altKey: true, bubbles: true, cancelable: true })), ch.toLowerCase());
  default:
    return page.keyboard.sendCharacter(ch.toLowerCase());
  }
}
async function typeWord(page, text) {
  for (const ch of text) await typeLetter(page, ch);
}
const pdfText = (file) => execFileSync('pdftotext', ['-layout', file, '-'], { encoding: 'utf8' });
const pdfPages = (file) => Number(/Pages:\s+(\d+)/.exec(execFileSync('pdfinfo', [file], { encoding: 'utf8' }))[1]);

try {
  // The composed crossword: numbers and clues as the program has them.
  const k = readShow(path.join(dir, 'k.txt'));
  let page = await openPage('k.html');
  let s = await state(page);
  const numbered = s.numbers.filter((n) => n > 0);
  assert.deepStrictEqual(numbered, numbered.map((_, i) => i + 1), 'numbers 1..n in reading order');
  assert.strictEqual(s.across.length + s.down.length, k.words.length, 'one clue a word');
  for (const w of k.words) {
    const n = s.numbers[w.cells[0]];
    assert(n > 0, `a number at ${w.col},${w.row}`);
    const item = (w.across ? s.across : s.down).find((x) => x.n === n && x.clue === w.clue.trim());
    assert(item, `clue ${n} ${w.across ? 'poziomo' : 'pionowo'} "${w.clue}"`);
    assert.strictEqual(item.len, `(${w.cells.length})`, `length of ${n}`);
    assert(!item.sound, 'no loudspeaker without embedded sounds');
  }
  assert.strictEqual(s.phrase.length, k.phrase.replace(/ /g, '').length, 'a box for every letter of the rozwiązanie');

  // The keyboard alone reaches the grid.
  await page.keyboard.press('Tab');
  s = await state(page);
  assert.strictEqual(s.focused, 'mz-in', 'Tab reaches the grid');
  assert(s.current.startsWith(`${s.across[0].n} poziomo: `), `the first across word chosen: ${s.current}`);

  // A correct word with Polish letters (the one with most of them), then a wrong one.
  const across = k.words.filter((w) => w.across);
  const polish = (w) => [...w.answer].filter((ch) => CTRL_LETTERS[ch]).length;
  const right = across.reduce((best, w) => (polish(w) > polish(best) ? w : best));
  await clickClue(page, true, s.numbers[right.cells[0]]);
  await typeWord(page, right.answer);
  await tool(page, 'Sprawdź słowo');
  s = await state(page);
  assert.strictEqual(right.cells.map((c) => s.letters[c]).join(''), right.answer, 'the typed word');
  assert.strictEqual(s.status, 'Wszystko dobrze!');
  const wrongWord = across.find((w) => w.row !== right.row);
  await clickClue(page, true, s.numbers[wrongWord.cells[0]]);
  await typeWord(page, [...wrongWord.answer].map((ch) => (ch === 'Q' ? 'W' : 'Q')).join(''));
  await tool(page, 'Sprawdź słowo');
  s = await state(page);
  assert.strictEqual(s.wrong.filter(Boolean).length, wrongWord.cells.length, 'every letter of the wrong word marked');
  assert.strictEqual(s.status, `Błędne litery: ${wrongWord.cells.length}.`);

  // A letter revealed in an empty cell.
  const hidden = k.words.find((w) => !w.across && w.cells.every((c) => s.letters[c] === ''));
  await clickClue(page, false, s.numbers[hidden.cells[0]]);
  await tool(page, 'Odkryj literę');
  s = await state(page);
  assert.strictEqual(s.letters[hidden.cells[0]], hidden.answer[0], 'the revealed letter');
  assert(s.helped[hidden.cells[0]], 'a revealed letter is marked');

  // The progress stays through a reload.
  const before = s.letters;
  await page.reload({ waitUntil: 'load' });
  s = await state(page);
  assert.deepStrictEqual(s.letters, before, 'letters kept through a reload');
  assert(s.helped[hidden.cells[0]], 'the revealed mark kept');

  // Printing: the empty grid and the clues; with the answer key a page more.
  const plain = path.join(dir, 'k.pdf'), withKey = path.join(dir, 'k-key.pdf');
  await page.pdf({ path: plain, format: 'A4' });
  const text = pdfText(plain);
  assert(text.includes('Poziomo') && text.includes('Pionowo'), 'clue headings printed');
  assert(text.includes(k.words[0].clue.trim().split(' ')[0]), 'clues printed');
  assert(!text.includes('Sprawdź'), 'no buttons printed');
  assert(!text.includes(right.answer), 'the printed grid is empty');
  await page.click('#mz-withkey');
  await page.pdf({ path: withKey, format: 'A4' });
  assert(pdfPages(withKey) > pdfPages(plain), 'the answer key on a page of its own');
  assert(pdfText(withKey).includes('Rozwiązanie: k'), 'the answer key titled');

  // The whole solution, the rozwiązanie strip, then a clean start.
  await tool(page, 'Pokaż rozwiązanie');
  s = await state(page);
  for (const w of k.words) assert.strictEqual(w.cells.map((c) => s.letters[c]).join(''), w.answer);
  assert.strictEqual(s.phrase.join(''), k.phrase.replace(/ /g, ''), 'the rozwiązanie read from its cells');
  assert.match(s.done, /^Krzyżówka wypełniona; odkrytych liter: \d+\.$/);
  await tool(page, 'Wyczyść');
  await page.reload({ waitUntil: 'load' });
  s = await state(page);
  assert(s.letters.every((l) => l === ''), 'nothing left after "Wyczyść"');
  assert(page.requests.every((url) => /^(file|data):/.test(url)), `no network: ${page.requests.join(' ')}`);
  await page.close();

  // The small crossword: a clue that tries to end the script, labels, direction, the congratulation.
  const mini = readShow(path.join(dir, 'mini.txt'));
  page = await openPage('mini.html');
  s = await state(page);
  assert.strictEqual(await page.evaluate(() => window.pwned), undefined, 'a clue cannot run a script');
  for (const w of mini.words)
    assert((w.across ? s.across : s.down).some((x) => x.clue === w.clue.trim()), `clue shown as text: ${w.clue}`);
  assert.match(s.labels[1], /^1 poziomo, litera 2 z 5; puste$/);
  await clickCell(page, 0);
  assert.match((await state(page)).current, /^1 poziomo: /);
  await clickCell(page, 0);
  assert.match((await state(page)).current, /^1 pionowo: /, 'a second click turns the direction');
  const typed = [];
  for (const latin of Object.values(CTRL_LETTERS)) {
    await clickCell(page, 0);
    await page.keyboard.down('Control');
    await page.keyboard.press(`Key${latin}`);
    await page.keyboard.up('Control');
    typed.push((await state(page)).letters[0]);
  }
  assert.strictEqual(typed.join(''), Object.keys(CTRL_LETTERS).join(''), 'the Ctrl convention for all nine letters');
  for (const w of mini.words) {
    // A clue chooses its word at the first empty cell; typing goes on from there.
    const letters = (await state(page)).letters;
    const start = w.cells.findIndex((c) => letters[c] === '');
    if (start < 0) continue;
    await clickClue(page, w.across, s.numbers[w.cells[0]]);
    await typeWord(page, [...w.answer].slice(start).join(''));
  }
  s = await state(page);
  assert.strictEqual(s.done, 'Gratulacje! Krzyżówka rozwiązana bezbłędnie.');
  assert.match(s.labels[1], /^1 poziomo, litera 2 z 5; wpisano Ó$/);
  await page.close();

  // Embedded sounds: a loudspeaker for each clue that has one, playing a data URL.
  const sounds = readShow(path.join(dir, 'sounds.txt'));
  page = await openPage('sounds.html');
  s = await state(page);
  const withSound = sounds.words.filter((w) => w.sound).length;
  assert(withSound > 0, 'the sample crossword has sounds');
  assert.strictEqual([...s.across, ...s.down].filter((x) => x.sound).length, withSound, 'one loudspeaker a sound');
  await page.click('.snd');
  assert(page.requests.every((url) => /^(file|data):/.test(url)), 'sounds come from the page itself');
  await page.close();
} catch (error) {
  failures.push(error.stack || String(error));
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
if (failures.length) {
  console.error(failures.join('\n'));
  process.exit(1);
}
console.log('Strona WWW: wszystkie sprawdzenia przeszły');
