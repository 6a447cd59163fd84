// The page's counterpart of search_bench: the cost of one trial of the real search in the
// real page, against the plainest page doing the same work per trial (nine buttons, one
// pass of the event loop, the background colours of one game press), same generator, same
// boards, same browser, one run. Chromium and Firefox are driven by puppeteer-core (Firefox
// over WebDriver BiDi), WebKit by WebKitWebDriver on an Xvfb of its own, through a few W3C
// WebDriver calls: the page does all the work, a driver only loads it and runs one script.
//
//   node bench/web_bench.mjs [--engine chromium|firefox|webkit|all] [--board RBW... [--pages N]]
//                            [FOLDER]
//   FOLDER: the built page (default build/web/window/web). Without --board, one fresh page for
//   each of the benchmark's boards (bench/bench.h); with it, N fresh pages (5) on that board.
//   VELTRIN_BENCH_SHORT set: a short run over one board.
//   puppeteer-core from tests/e2e/web: npm ci --prefix tests/e2e/web

import { spawn } from 'node:child_process';
import { createServer } from 'node:http';
import { createServer as createNetServer } from 'node:net';
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { parseArgs } from 'node:util';

const USAGE =
    'usage: node bench/web_bench.mjs [--engine chromium|firefox|webkit|all] ' +
    '[--board RBWRBWRBW [--pages N]] [FOLDER]';
let options;
try {
    options = parseArgs({
        allowPositionals: true,
        options: {
            engine: { type: 'string', default: 'all' },
            board: { type: 'string' },
            pages: { type: 'string', default: '5' },
            help: { type: 'boolean' },
        },
    });
} catch (error) {
    console.error(`${error.message}\n${USAGE}`);
    process.exit(2);
}
const { values: args, positionals } = options;
const ENGINES = ['chromium', 'firefox', 'webkit'];
const engines = args.engine === 'all' ? ENGINES : [args.engine];
if (args.help) {
    console.log(USAGE);
    process.exit(0);
}
if (
    positionals.length > 1 ||
    !engines.every((e) => ENGINES.includes(e)) ||
    (args.board && !/^[RBW]{9}$/.test(args.board)) ||
    !(Number(args.pages) > 0)
) {
    console.error(USAGE);
    process.exit(2);
}
const folder = resolve(positionals[0] || 'build/web/window/web');
const boards = args.board
    ? Array(Number(args.pages)).fill(args.board)
    : [...readFileSync('bench/bench.h', 'utf8').matchAll(/"([RBW]{9})"/g)]
          .map((m) => m[1])
          .slice(0, process.env.VELTRIN_BENCH_SHORT ? 1 : undefined);

// The plain page: mt19937 in its default state, the same mapping onto squares, and the
// pass the real page takes in this browser (scheduler.postTask where there is one, or else a
// message to the page itself), so that the ratio compares like with like.
const PLAIN = `<!doctype html><body><script>
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
let wake;
addEventListener('message', (e) => { if (e.source === window && e.data === 'pass') wake(); });
const pass = typeof scheduler !== 'undefined' && typeof scheduler.postTask === 'function'
    ? () => scheduler.postTask(() => {})
    : () => new Promise((r) => { wake = r; postMessage('pass', '*'); });
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
  const next = mt();
  const advance = (k) => {
    values[k] = (values[k] + 1) % 3;
    buttons[k].style.background = colours[values[k]];
  };
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

// In the real page: answer the start-up message, click the board in, and time from the click
// on Solve to the result message. Clicks are the page's own, so every driver gives the same.
const REAL = async (board) => {
    const until = (test) =>
        new Promise((done) => {
            const poll = () => (test() ? done() : setTimeout(poll, 5));
            poll();
        });
    const dialog = document.getElementById('message');
    await until(() => dialog.open);
    dialog.querySelector('button').click();
    await until(() => !document.getElementById('Form1').hidden && !dialog.open);
    [...board].forEach((c, k) => {
        for (let n = 'RBW'.indexOf(c); n > 0; --n) document.getElementById(`S${k}`).click();
    });
    const started = performance.now();
    document.getElementById('Command1').click();
    await until(() => dialog.open);
    const text = dialog.querySelector('p').textContent;
    return [text, performance.now() - started];
};

// ---- the engines: each opens a URL and runs an async function of one argument in it -------

const require = createRequire(resolve('tests/e2e/web/package.json'));

async function puppeteerEngine(product) {
    const puppeteer = require('puppeteer-core');
    const browser = await puppeteer.launch(
        product === 'firefox'
            ? { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true }
            : {
                  executablePath: '/usr/bin/chromium',
                  headless: true,
                  args: [
                      '--no-sandbox',
                      '--disable-gpu',
                      '--no-first-run',
                      '--disable-background-networking',
                      '--disable-component-update',
                      '--disable-sync',
                  ],
              },
    );
    const tab = await browser.newPage();
    return {
        goto: (url) => tab.goto(url),
        run: (fn, arg) => tab.evaluate(`(${fn})(${JSON.stringify(arg)})`),
        close: () => browser.close(),
    };
}

// WebKitGTK's driver starts MiniBrowser, which needs an X display: an Xvfb of our own.
async function webkitEngine() {
    const started = [];
    const stopAll = () => started.reverse().forEach((p) => p.kill());
    const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-noreset'], {
        stdio: ['ignore', 'ignore', 'ignore', 'pipe'],
    });
    started.push(xvfb);
    const display = await new Promise((done) => {
        xvfb.stdio[3].once('data', (d) => done(`:${String(d).trim()}`));
    });
    // A port no one listens on: another driver on a guessed one would take our session.
    const port = await new Promise((done) => {
        const probe = createNetServer().listen(0, '127.0.0.1', () => {
            const { port: free } = probe.address();
            probe.close(() => done(free));
        });
    });
    const driver = spawn('WebKitWebDriver', [`--port=${port}`], {
        stdio: 'ignore',
        env: { ...process.env, DISPLAY: display },
    });
    started.push(driver);
    const call = async (method, path, body) => {
        const response = await fetch(`http://127.0.0.1:${port}${path}`, {
            method,
            headers: { 'Content-Type': 'application/json' },
            body: body && JSON.stringify(body),
        });
        const { value } = await response.json();
        if (value?.error) throw new Error(`WebKitWebDriver: ${value.error}: ${value.message}`);
        return value;
    };
    let session;
    for (let tries = 0; !session; ++tries) {
        try {
            session = (await call('POST', '/session', { capabilities: {} })).sessionId;
        } catch (error) {
            if (tries > 50) throw error;
            await new Promise((r) => setTimeout(r, 100));
        }
    }
    await call('POST', `/session/${session}/timeouts`, { script: 600000 });
    return {
        goto: (url) => call('POST', `/session/${session}/url`, { url }),
        run: (fn, arg) =>
            call('POST', `/session/${session}/execute/async`, {
                args: [arg],
                script: `(${fn})(arguments[0]).then(arguments[1])`,
            }),
        close: async () => {
            await call('DELETE', `/session/${session}`).catch(() => {});
            stopAll();
        },
    };
}

// ---- one run ---------------------------------------------------------------------------

const server = createServer((request, response) => {
    const name = new URL(request.url, 'http://x').pathname;
    if (name === '/plain.html') return response.end(PLAIN);
    try {
        const body = readFileSync(join(folder, name.replace(/\.\./g, '')));
        const type = name.endsWith('.html')
            ? 'text/html'
            : name.endsWith('.js')
              ? 'text/javascript'
              : 'application/octet-stream';
        response.writeHead(200, { 'Content-Type': type }).end(body);
    } catch {
        response.writeHead(404).end();
    }
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const origin = `http://127.0.0.1:${server.address().port}`;

const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];
const measured = {};
for (const name of engines) {
    const engine = await (name === 'webkit' ? webkitEngine() : puppeteerEngine(name));
    try {
        // The plain page first, so that nothing of the real page's runs is left behind.
        const plain = [],
            real = [];
        for (const board of boards) {
            await engine.goto(`${origin}/plain.html`);
            const [trials, ms] = await engine.run('(b) => run(b)', board);
            plain.push({ trials, ms });
        }
        for (const [i, board] of boards.entries()) {
            await engine.goto(`${origin}/index.html`);
            const [text, ms] = await engine.run(REAL.toString(), board);
            if (!text.includes('time(s)')) throw new Error(`${name}: no result for ${board}`);
            real.push({ trials: plain[i].trials, ms });
        }
        measured[name] = { plain, real };
    } finally {
        await engine.close();
    }
}
server.close();

const perTrial = (runs) => median(runs.map((r) => (r.ms * 1000) / r.trials));
const trials = boards.length && measured[engines[0]].plain.reduce((n, r) => n + r.trials, 0);
console.log(
    `${boards.length} fresh pages (${args.board || 'bench/bench.h'}), ${trials} trials ` +
        'in all; per trial, the median of the pages',
);
console.log('engine     real page     plain page    real/plain   real/Chromium   mean search');
for (const [name, { plain, real }] of Object.entries(measured)) {
    const us = perTrial(real),
        chromium = measured.chromium && perTrial(measured.chromium.real);
    const mean = real.reduce((n, r) => n + r.ms, 0) / real.length;
    console.log(
        `${name.padEnd(9)} ${us.toFixed(2).padStart(7)} µs  ` +
            `${perTrial(plain).toFixed(2).padStart(9)} µs  ` +
            `${(us / perTrial(plain)).toFixed(2).padStart(10)}  ` +
            `${chromium ? (us / chromium).toFixed(2).padStart(14) : '             -'}  ` +
            `${mean.toFixed(0).padStart(9)} ms`,
    );
}
