// A second, independent reader of the program's ipuz export: the file is
// converted to the xd text format and parsed back, and what came through is
// compared with the crossword as the program describes it
// (mirakolnik-cli show --answers).
//
//   node check-ipuz-xd.mjs CROSSWORD.ipuz SHOW.txt
import fs from 'node:fs';
import assert from 'node:assert';
import { ipuzToXD, xdToJSON } from 'xd-crossword-tools';

const [ipuzFile, showFile] = process.argv.slice(2);
const xd = ipuzToXD(fs.readFileSync(ipuzFile, 'utf8'));
const parsed = xdToJSON(xd);
assert(parsed.report.success, `xd reading failed: ${JSON.stringify(parsed.report.errors)}`);

const shown = fs.readFileSync(showFile, 'utf8').split('\n').filter((line) => line.length > 0);
const [, width, height] = /^Rozmiar: (\d+) × (\d+)$/.exec(shown[0]).map(Number);
const rows = shown.slice(1, 1 + height);
const explanations = shown.slice(1 + height)
  .map((line) => /^\d+\. ([HV]) (\d+),(\d+): (.*?)(?: \[[^\]]*\])? = (.*)$/.exec(line))
  .filter((m) => m)
  .map((m) => ({ across: m[1] === 'H', col: Number(m[2]), row: Number(m[3]), clue: m[4], answer: m[5] }));

assert.strictEqual(parsed.tiles.length, height);
parsed.tiles.forEach((row, r) => {
  assert.strictEqual(row.length, width, `row ${r + 1}`);
  row.forEach((tile, c) => assert.strictEqual(tile.type === 'blank', rows[r][c] === '*', `block at ${c + 1},${r + 1}`));
});

// Numbers in reading order, one per start cell.
const starts = [...new Set(explanations.map((e) => e.row * 1000 + e.col))].sort((a, b) => a - b);
const unescape = (s) => s.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&amp;/g, '&');
const read = [...parsed.clues.across, ...parsed.clues.down];
assert.strictEqual(read.length, explanations.length, 'one clue per explanation');
for (const e of explanations) {
  const number = starts.indexOf(e.row * 1000 + e.col) + 1;
  const clue = (e.across ? parsed.clues.across : parsed.clues.down).find((item) => item.number === number);
  assert(clue, `${e.across ? 'across' : 'down'} clue ${number}`);
  assert.strictEqual(unescape(clue.body), e.clue, `text of clue ${number}`);
  assert.strictEqual(clue.answer, e.answer, `answer of clue ${number}`);
  assert.deepStrictEqual([clue.position.col + 1, clue.position.index + 1], [e.col, e.row], `cell of clue ${number}`);
}

console.log(`ipuz ${ipuzFile}: ${width} × ${height}, ${read.length} clues read back through xd`);
