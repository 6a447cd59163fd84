// The page's counterpart of search_bench: the cost of one trial of the real search in the
// real page, against the plainest page doing the same work per trial (nine buttons, one
// pass of the event loop through a posted message, the background colours of one game
// press), same generator, same boards, same browser, one run.
//
//   node bench/web_bench.mjs build/web/window/web/index.html
//   (VELTRIN_BENCH_SHORT set: a short run over one board)
//   (puppeteer-core from tests/e2e/web: npm ci --prefix tests/e2e/web)

import {createRequire} from 'node:module';
import {readFileSync} from 'node:fs';
import {resolve} from 'node:path';

const usage = 'usage: node bench/web_bench.mjs [PAGE]  (build/web/window/web/index.html)';
if (process.argv[2]?.startsWith('-')) {
    const help = ['-h', '--help'].includes(process.argv[2]);
    (help ? console.log : console.error)(usage);
    process.exit(help ? 0 : 2);
}
const require = createRequire(resolve('tests/e2e/web/package.json'));
const puppeteer = require('puppeteer-core');
const page = resolve(process.argv[2] || 'build/web/window/web/index.html');
// VELTRIN_BENCH_SHORT set: the first board alone, as the C++ benchmarks do.
const boards = [...readFileSync('bench/bench.h', 'utf8').matchAll(/"([RBW]{9})"/g)]
    .map((m) => m[1])
    .slice(0, process.env.VELTRIN_BENCH_SHORT ? 1 : undefined);

// The plain page: mt19937 in its default state, and the same mapping onto squares.
const baseline = `<!doctype html><body><script>
function mt() {
  const s = new Uint32Array(624); let i = 624; s[0] = 5489;
  for (let k = 1; k < 624; ++k) s[k] = Math.imul(1812433253, s[k-1] ^ (s[k-1] >>> 30)) + k;
  return () => {
    if (i >= 624) {
      for (let k = 0; k < 624; ++k) {
        const y = (s[k] & 0x80000000) | (s[(k + 1) % 624] & 0x7fffffff);
        s[k] = s[(k + 397) % 624] ^ (y >>> 1) ^ (y & 1 ? 0x9908b0df : 0);
      }
      i = 0;
    }
    let y = s[i++];
    y ^= y >>> 11; y ^= (y << 7) & 0x9d2c5680; y ^= (y << 15) & 0xefc60000; y ^= y >>> 18;
    return y >>> 0;
  };
}
async function run(board) {
  document.body.textContent = '';
  const colours = ['#ff0000', '#0000ff', '#ffffff'];
  const values = [...board].map((c) => 'RBW'.indexOf(c));
  const buttons = values.map((v, k) => {
    const b = document.createElement('button');
    b.style.cssText = 'position:absolute;width:41px;height:41px;left:' + (8 + k % 3 * 40) +
                      'px;top:' + (8 + Math.floor(k / 3) * 40) + 'px;background:' + colours[v];
    document.body.appendChild(b);
    return b;
  });
  const next = mt(), channel = new MessageChannel();
  const pass = () => new Promise((r) => { channel.port1.onmessage = r; channel.port2.postMessage(0); });
  const advance = (k) => { values[k] = (values[k] + 1) % 3; buttons[k].style.background = colours[values[k]]; };
  let trials = 0;
  const started = performance.now();
  while (!values.every((v) => v === values[0])) {
    await pass();
    let c = -1;
    while (c < 0) { const r = next(); c = r < 9 * 477218588 ? r % 9 : -1; }
    ++trials;
    advance(c);
    if (c % 3 > 0) advance(c - 1);
    if (c % 3 < 2) advance(c + 1);
    if (c >= 3) advance(c - 3);
    if (c < 6) advance(c + 3);
  }
  return [trials, performance.now() - started];
}
</script>`;

const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
});
const tab = await browser.newPage();

let realMs = 0, baseMs = 0, baseTrials = 0;
// The plain page first, in a tab of its own, so that nothing of the real page's run is left
// in the renderer when it runs.
const plain = await browser.newPage();
await plain.setContent(baseline);
for (const board of boards) {
    const [trials, ms] = await plain.evaluate((b) => run(b), board);
    baseTrials += trials;
    baseMs += ms;
}
await plain.close();
for (const board of boards) {
    await tab.goto('file://' + page);
    await tab.waitForSelector('dialog[open]');
    await tab.click('dialog[open] button');
    await tab.waitForSelector('#Form1:not([hidden])');
    for (let k = 0; k < 9; ++k) {
        for (let n = 'RBW'.indexOf(board[k]); n > 0; --n) await tab.click(`#S${k}`);
    }
    // From the click on Solve to the result message.
    realMs += await tab.evaluate(() => new Promise((done) => {
        const dialog = document.getElementById('message');
        const started = performance.now();
        new MutationObserver((_, o) => {
            if (dialog.open) { o.disconnect(); done(performance.now() - started); }
        }).observe(dialog, {attributes: true});
        document.getElementById('Command1').click();
    }));
}
await browser.close();
const per = (ms) => (ms * 1000 / baseTrials).toFixed(2);
console.log(`Chromium, ${boards.length} boards, ${baseTrials} trials each way`);
console.log(`real page:  ${(realMs / 1000).toFixed(3)} s  ${per(realMs)} us/trial`);
console.log(`baseline:   ${(baseMs / 1000).toFixed(3)} s  ${per(baseMs)} us/trial`);
console.log(`ratio real/baseline per trial: ${(realMs / baseMs).toFixed(2)}`);
console.log(`mean search: ${(realMs / boards.length).toFixed(0)} ms`);
