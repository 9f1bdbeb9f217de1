// Lays out a word list (SŁOWO<TAB>objaśnienie, UTF-8) with the npm package
// crossword-layout-generator and prints one line: words, placed, crossings,
// columns, rows, milliseconds.
const fs = require("fs");
const clg = require("crossword-layout-generator");

const words = fs.readFileSync(process.argv[2], "utf8").split("\n")
  .map((line) => line.split("\t"))
  .filter((parts) => parts[0].trim() !== "")
  .map((parts) => ({ answer: parts[0].trim().toLowerCase(), clue: (parts[1] || "").trim() }));
const start = process.hrtime.bigint();
// The package prints every word it weighs; only our own line goes out.
const print = console.log;
console.log = () => {};
const layout = clg.generateLayout(words);
console.log = print;
const ms = Number(process.hrtime.bigint() - start) / 1e6;
const cover = new Map();
let placed = 0;
for (const w of layout.result) {
  if (w.orientation === "none")
    continue;
  ++placed;
  for (let i = 0; i < w.answer.length; ++i) {
    const key = w.orientation === "across" ? `${w.startx + i},${w.starty}` : `${w.startx},${w.starty + i}`;
    cover.set(key, (cover.get(key) || 0) + 1);
  }
}
let crossings = 0;
for (const n of cover.values())
  if (n > 1)
    ++crossings;
console.log([words.length, placed, crossings, layout.cols, layout.rows, ms.toFixed(2)].join(" "));
