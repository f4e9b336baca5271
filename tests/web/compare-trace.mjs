// Compares a trace printed by the browser edition's trace driver with the native golden one:
// the same lines and words, numbers (each of a comma list too) equal within 1e-9 (relative, or
// absolute near zero), as the elementary functions of another libm may differ in their last
// digits.
// usage: node compare-trace.mjs EXPECTED ACTUAL
import { readFileSync } from 'node:fs';

const Tolerance = 1e-9;
const [expectedFile, actualFile] = process.argv.slice(2);
const expected = readFileSync(expectedFile, 'utf8').split('\n');
const actual = readFileSync(actualFile, 'utf8').split('\n');

// Words, and the numbers of comma lists (the dynamics mode's speeds= and torques=) each apart.
function wordsOf(line) {
  return line.split(/([ =,])/);
}

function close(a, b) {
  const x = Number(a);
  const y = Number(b);
  if (a === '' || b === '' || Number.isNaN(x) || Number.isNaN(y)) {
    return a === b;
  }
  return Math.abs(x - y) <= Tolerance * Math.max(1, Math.abs(x), Math.abs(y));
}

let differences = 0;
if (expected.length !== actual.length) {
  console.log(`line counts differ: ${expected.length} expected, ${actual.length} printed`);
  differences++;
}
for (let i = 0; i < Math.min(expected.length, actual.length); i++) {
  const want = wordsOf(expected[i]);
  const got = wordsOf(actual[i]);
  const same = want.length === got.length && want.every((word, k) => close(word, got[k]));
  if (!same) {
    if (differences < 10) {
      console.log(`line ${i + 1}:\n  expected ${expected[i]}\n  printed  ${actual[i]}`);
    }
    differences++;
  }
}
if (differences > 0) {
  console.log(`${differences} lines differ`);
  process.exit(1);
}
