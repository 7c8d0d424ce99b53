// Times Hanzi Writer's switch to a new character in headless Chromium: the main thread's CPU
// time from setCharacter until the frame that shows the character is made, per switch.
//
//   node switch.mjs [--rounds N] [--warmup N] [--chromium PATH]
//
// Prints one JSON object on stdout (a summary goes to stderr): for each character its stroke
// count and, per measured switch, the page's main-thread CPU time in ms, and the same for an
// idle round trip. Each round switches to every character once, each switch coming from 人 as
// in bench_switch, then makes one idle round trip; the first --warmup rounds are dropped.
//
// The CPU time is the difference of Performance.getMetrics' ThreadTime (the renderer main
// thread's CPU clock) read before and after the switch. Chromium's TaskDuration is kept beside
// it but undercounts: the canvas's recorded drawing is rasterized by
// CanvasRenderingContext2D::FinalizeFrame after the task that drew it ends, outside the task
// time, and for 爨 that is most of the work. The idle round trip (the driver's two reads, the
// call into the page and an empty frame) is what table.mjs takes off each switch.
import { readFile } from 'node:fs/promises';
import { fileURLToPath, pathToFileURL } from 'node:url';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const CHARACTERS = ['一', '人', '高', '永', '我', '爨'];
const FROM = '人';
const here = path.dirname(fileURLToPath(import.meta.url));

function options(argv) {
  const o = { rounds: 40, warmup: 5, chromium: '/usr/bin/chromium' };
  for (let i = 2; i < argv.length; i += 2) {
    const key = argv[i].replace(/^--/, '');
    if (!(key in o) || argv[i + 1] === undefined) throw new Error(`unknown option ${argv[i]}`);
    o[key] = key === 'chromium' ? argv[i + 1] : Number(argv[i + 1]);
  }
  return o;
}

async function packageVersion(name) {
  const json = await readFile(path.join(here, 'node_modules', name, 'package.json'), 'utf8');
  return JSON.parse(json).version;
}

// The characters' data, read and parsed here so that the page holds it before any switch.
async function characterData() {
  const data = {};
  for (const c of CHARACTERS) {
    const file = path.join(here, 'node_modules', 'hanzi-writer-data', `${c}.json`);
    data[c] = JSON.parse(await readFile(file, 'utf8'));
  }
  return data;
}

// Software rendering throughout (no GPU here): the canvas is drawn and rasterized by Skia on
// the renderer's main thread, so its cost lands in the thread time measured.
async function launch(executablePath) {
  return puppeteer.launch({
    executablePath,
    headless: true,
    defaultViewport: { width: 800, height: 600, deviceScaleFactor: 1 },
    args: ['--no-sandbox', '--disable-gpu', '--disable-extensions', '--no-first-run',
           '--disable-background-networking', '--disable-component-update'],
  });
}

// Main-thread CPU seconds so far: ThreadTime, and TaskDuration counted in thread time (the
// session enables the metrics with timeDomain threadTicks).
async function cpu(session) {
  const { metrics } = await session.send('Performance.getMetrics');
  const value = (name) => metrics.find((m) => m.name === name).value;
  return { task: value('TaskDuration'), thread: value('ThreadTime') };
}

async function timed(session, page, fn, arg) {
  const before = await cpu(session);
  await page.evaluate(fn, arg);
  const after = await cpu(session);
  const ms = (seconds) => Math.round(seconds * 1e6) / 1e3;
  return { task: ms(after.task - before.task), thread: ms(after.thread - before.thread) };
}

async function measure(page, session, o, data) {
  const result = {};
  for (const c of CHARACTERS) result[c] = { strokes: data[c].strokes.length, cpu_ms: [], task_ms: [] };
  const idle = { cpu_ms: [], task_ms: [] };
  for (let round = 0; round < o.warmup + o.rounds; ++round) {
    for (const c of CHARACTERS) {
      await page.evaluate((from) => switchTo(from), FROM);
      const t = await timed(session, page, (to) => switchTo(to), c);
      if (round >= o.warmup) {
        result[c].cpu_ms.push(t.thread);
        result[c].task_ms.push(t.task);
      }
    }
    const t = await timed(session, page, () => idleFrame());
    if (round >= o.warmup) {
      idle.cpu_ms.push(t.thread);
      idle.task_ms.push(t.task);
    }
  }
  return { characters: result, idle };
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor((sorted.length - 1) / 2)];
}

function summarize(measured) {
  const idle = median(measured.idle.cpu_ms);
  process.stderr.write(`idle round trip ${idle.toFixed(2)} ms; median CPU ms per switch less that:\n`);
  for (const [c, r] of Object.entries(measured.characters)) {
    process.stderr.write(`  ${c} ${String(r.strokes).padStart(2)} strokes ${(median(r.cpu_ms) - idle).toFixed(2)}\n`);
  }
}

async function main() {
  const o = options(process.argv);
  const data = await characterData();
  const browser = await launch(o.chromium);
  try {
    const page = await browser.newPage();
    await page.goto(pathToFileURL(path.join(here, 'switch.html')).href, { waitUntil: 'load' });
    await page.evaluate((d) => keepCharacters(d), data);
    await page.evaluate((first) => makeWriter(first), FROM);
    const session = await page.createCDPSession();
    await session.send('Performance.enable', { timeDomain: 'threadTicks' });
    const measured = await measure(page, session, o, data);
    summarize(measured);
    console.log(JSON.stringify({
      browser: await browser.version(),
      hanzi_writer: await packageVersion('hanzi-writer'),
      hanzi_writer_data: await packageVersion('hanzi-writer-data'),
      rounds: o.rounds,
      warmup: o.warmup,
      ...measured,
    }));
  } finally {
    await browser.close();
  }
}

await main();
