// Reads an ipuz file written by mirakolnik-cli with an independent ipuz
// reader and compares what it understood with the crossword as the program
// itself describes it (mirakolnik-cli show --answers).
//
//   node check-ipuz.mjs CROSSWORD.ipuz SHOW.txt
import fs from 'node:fs';
import assert from 'node:assert';
import { parseIpuz, convertIpuzToUnified } from '@xwordly/xword-parser';

const [ipuzFile, showFile] = process.argv.slice(2);
const text = fs.readFileSync(ipuzFile, 'utf8');
const raw = parseIpuz(text);
const unified = convertIpuzToUnified(raw);
const shown = fs.readFileSync(showFile, 'utf8').split('\n').filter((line) => line.length > 0);

// "Rozmiar: 15 × 11", the grid rows ('*' block), then "N. H|V col,row: clue [sound] = ANSWER".
const size = /^Rozmiar: (\d+) × (\d+)$/.exec(shown[0]);
assert(size, 'no size line');
const width = Number(size[1]);
const height = Number(size[2]);
const rows = shown.slice(1, 1 + height);
const explanations = shown.slice(1 + height)
  .map((line) => /^(\d+)\. ([HV]) (\d+),(\d+): (.*?)(?: \[([^\]]*)\])? = (.*)$/.exec(line))
  .filter((match) => match)
  .map((m) => ({ number: Number(m[1]), across: m[2] === 'H', col: Number(m[3]), row: Number(m[4]),
                 clue: m[5], sound: m[6], answer: m[7] }));
assert(explanations.length > 0, 'no explanations in the show output');

assert.strictEqual(raw.version, 'http://ipuz.org/v2');
assert.deepStrictEqual(raw.kind, ['http://ipuz.org/crossword#1']);
assert.strictEqual(unified.grid.width, width);
assert.strictEqual(unified.grid.height, height);

for (let r = 0; r < height; ++r)
  for (let c = 0; c < width; ++c)
    assert.strictEqual(unified.grid.cells[r][c].isBlack, rows[r][c] === '*', `block at ${c + 1},${r + 1}`);

const unescape = (s) => s.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&amp;/g, '&');
const lists = { true: raw.clues.Across, false: raw.clues.Down };
assert(lists.true && lists.false, 'clue lists under the plain names "Across" and "Down"');
assert.deepStrictEqual(raw.extensions['pl.mirakolnik:naglowki'], { Across: 'Poziomo', Down: 'Pionowo' });
assert.strictEqual(lists.true.length + lists.false.length, explanations.length, 'one clue per explanation');

// Each start cell carries one number, counted in reading order and shared by
// its across and down clue.
const starts = [...new Set(explanations.map((e) => e.row * 1000 + e.col))].sort((a, b) => a - b);
const numberAt = (col, row) => starts.indexOf(row * 1000 + col) + 1;

for (const e of explanations) {
  const number = numberAt(e.col, e.row);
  const clue = lists[e.across].find((item) => item.number === number && item.text !== undefined
                                             && unescape(item.text) === e.clue);
  assert(clue, `clue ${number} "${e.clue}" in its direction`);
  // The clue's cells start at its word's first letter and run in its direction.
  assert.deepStrictEqual(clue.cells[0], [e.col, e.row], `first cell of clue ${number}`);
  clue.cells.forEach(([c, r], i) => {
    assert.strictEqual(c, e.col + (e.across ? i : 0));
    assert.strictEqual(r, e.row + (e.across ? 0 : i));
  });
  assert.strictEqual(unified.grid.cells[e.row - 1][e.col - 1].number, number, `number in cell ${e.col},${e.row}`);
  // The solution grid spells the answer along the clue's cells.
  const spelled = clue.cells.map(([c, r]) => unified.grid.cells[r - 1][c - 1].solution).join('');
  assert.strictEqual(spelled, e.answer, `answer of clue ${number}`);
  const sound = (raw.extensions['pl.mirakolnik:audio'] || {})[`${e.across ? 'Across' : 'Down'}:${number}`];
  assert.strictEqual(sound, e.sound, `sound of clue ${number}`);
}

console.log(`ipuz ${ipuzFile}: ${width} × ${height}, ${explanations.length} clues read back by an independent reader`);
