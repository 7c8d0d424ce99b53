// Prints compare_switch.sh's table from the files its runs left in one folder:
//   quvo-N.json  bench_switch's JSON output (--benchmark_filter=^Switch/), run N
//   hw-N.json    switch.mjs's output, run N
//   load.txt     /proc/loadavg read before, between and after the runs
//
//   node table.mjs FOLDER
//
// Hanzi Writer: every measured switch of every run, each less its run's median idle round trip;
// median and p90 over them. Quvo: bench_switch's counters of single switches' median and p90
// CPU time, the median over its repetitions in each run, then over the runs. A bench_switch
// without them gives its CPU time per switch (each repetition's mean) instead: median and p90
// over the runs.
import { readdirSync, readFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const CHARACTERS = ['一', '人', '高', '永', '我', '爨'];

// The q-quantile with linear interpolation between the nearest ranks.
function quantile(values, q) {
  const sorted = [...values].sort((a, b) => a - b);
  const at = q * (sorted.length - 1);
  const low = Math.floor(at);
  const high = Math.min(low + 1, sorted.length - 1);
  return sorted[low] + (sorted[high] - sorted[low]) * (at - low);
}

function readRuns(folder, prefix) {
  return readdirSync(folder)
    .filter((f) => f.startsWith(prefix) && f.endsWith('.json'))
    .sort()
    .map((f) => JSON.parse(readFileSync(path.join(folder, f), 'utf8')));
}

function hanziWriter(runs) {
  const out = {};
  for (const c of CHARACTERS) out[c] = { strokes: 0, ms: [] };
  for (const run of runs) {
    const idle = quantile(run.idle.cpu_ms, 0.5);
    for (const c of CHARACTERS) {
      out[c].strokes = run.characters[c].strokes;
      out[c].ms.push(...run.characters[c].cpu_ms.map((ms) => ms - idle));
    }
  }
  return out;
}

// Google Benchmark reports times in the benchmark's unit; bench_switch's is ms.
function toMs(time, unit) {
  return time * { ns: 1e-6, us: 1e-3, ms: 1, s: 1e3 }[unit];
}

// Per run and character, from the median over bench_switch's repetitions: its counters of
// single switches' median and p90 CPU time where it has them, else its CPU time per switch.
function quvo(runs) {
  const out = { perSwitch: true };
  for (const c of CHARACTERS) out[c] = { pieces: 0, median: [], p90: [] };
  for (const run of runs) {
    for (const b of run.benchmarks) {
      const c = b.run_name.replace(/^Switch\//, '').replace(/\/repeats:\d+$/, '');
      if (b.aggregate_name !== 'median' || !(c in out)) continue;
      out[c].pieces = b.pieces;
      if ('switch_cpu_median_ms' in b) {
        out[c].median.push(b.switch_cpu_median_ms);
        out[c].p90.push(b.switch_cpu_p90_ms);
      } else {
        out.perSwitch = false;
        out[c].median.push(toMs(b.cpu_time, b.time_unit));
      }
    }
  }
  return out;
}

function loads(folder) {
  const lines = readFileSync(path.join(folder, 'load.txt'), 'utf8').trim().split('\n');
  return lines.map((l) => Number(l.split(' ')[0]));
}

function cell(median, p90, width) {
  const f = (v) => (Number.isFinite(v) ? v.toFixed(2) : 'n/a').padStart(7);
  return `${f(median)} ${f(p90)}`.padStart(width);
}

// Quvo's median and p90 for one character: the median over the runs of each run's figure, or
// without per-switch counters, the median and p90 of the runs' CPU time per switch.
function quvoCell(ours, c, width) {
  const r = ours[c];
  if (r.median.length === 0) return cell(NaN, NaN, width);
  if (!ours.perSwitch) return cell(quantile(r.median, 0.5), quantile(r.median, 0.9), width);
  return cell(quantile(r.median, 0.5), quantile(r.p90, 0.5), width);
}

function main() {
  const folder = process.argv[2];
  const hwRuns = readRuns(folder, 'hw-');
  const quvoRuns = readRuns(folder, 'quvo-');
  const hw = hanziWriter(hwRuns);
  const ours = quvo(quvoRuns);
  const lines = [
    'Switching to a new character: main-thread CPU time per switch, ms',
    '',
    'character  strokes      Hanzi Writer ms              Quvo ms',
    '                         median     p90       median     p90',
  ];
  for (const c of CHARACTERS) {
    // A character takes two columns of a terminal.
    const hwCell = cell(quantile(hw[c].ms, 0.5), quantile(hw[c].ms, 0.9), 18);
    lines.push(`${c}         ${String(hw[c].strokes).padStart(7)}  ${hwCell}  ${quvoCell(ours, c, 18)}`);
  }
  const first = hwRuns[0];
  const load = loads(folder);
  const idle = hwRuns.map((r) => quantile(r.idle.cpu_ms, 0.5).toFixed(2)).join(', ');
  lines.push(
    '',
    `Hanzi Writer ${first.hanzi_writer} (data ${first.hanzi_writer_data}), canvas renderer,`,
    `  ${first.browser} headless: ${hw['一'].ms.length} switches per character over ` +
      `${hwRuns.length} runs (${first.warmup} warm-up rounds dropped in each),`,
    `  less each run's idle round trip: ${idle} ms.`,
    `Quvo bench_switch: ${quvoRuns.length} runs of 5 repetitions; ` +
      (ours.perSwitch
        ? 'median and p90 of single switches in each'
        : 'CPU time per switch (the mean of each'),
    ours.perSwitch
      ? '  repetition, then the median over repetitions and runs.'
      : '  repetition), median and p90 over the runs.',
    `  Pieces: ${CHARACTERS.map((c) => `${c} ${ours[c].pieces}`).join(', ')}.`,
    `Machine: ${os.cpus().length} cores; load average (1 min) before, between and after the` +
      ` runs: ${load.join(', ')}.`,
  );
  console.log(lines.join('\n'));
}

main();
