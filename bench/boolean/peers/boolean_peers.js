// Runs PathKit and paper.js on operand pairs sent by bench/boolean, one request per line on
// standard input, tab-separated:
//   load <id> <path data A> <path data B>   -> "ok"
//   time <id> <library> <operation>         -> nanoseconds of one operation
//   result <id> <library> <operation>       -> the result as absolute M, L, C and Z path data
// A failing operation answers "error <message>". Both libraries read the operands even-odd.
'use strict';
const fs = require('fs');
const path = require('path');
const readline = require('readline');

const modules = path.join(__dirname, 'node_modules');
const paper = require(path.join(modules, 'paper/dist/paper-core.js'));
const PathKitInit = require(path.join(modules, 'pathkit-wasm/bin/pathkit.js'));

const format = (x) => String(x);
const point = (p) => format(p.x) + ' ' + format(p.y);

function pathKitData(PathKit, result) {
  const parts = [];
  let current = null;
  for (const cmd of result.toCmds()) {
    switch (cmd[0]) {
      case PathKit.MOVE_VERB: current = {x: cmd[1], y: cmd[2]}; parts.push('M ' + point(current)); break;
      case PathKit.LINE_VERB: current = {x: cmd[1], y: cmd[2]}; parts.push('L ' + point(current)); break;
      case PathKit.QUAD_VERB: {
        const q = {x: cmd[1], y: cmd[2]};
        const end = {x: cmd[3], y: cmd[4]};
        const c1 = {x: current.x + (2 / 3) * (q.x - current.x), y: current.y + (2 / 3) * (q.y - current.y)};
        const c2 = {x: end.x + (2 / 3) * (q.x - end.x), y: end.y + (2 / 3) * (q.y - end.y)};
        parts.push('C ' + point(c1) + ' ' + point(c2) + ' ' + point(end));
        current = end;
        break;
      }
      case PathKit.CUBIC_VERB:
        current = {x: cmd[5], y: cmd[6]};
        parts.push('C ' + cmd[1] + ' ' + cmd[2] + ' ' + cmd[3] + ' ' + cmd[4] + ' ' + point(current));
        break;
      case PathKit.CLOSE_VERB: parts.push('Z'); break;
      default: throw new Error('unexpected verb ' + cmd[0]);
    }
  }
  return parts.join(' ');
}

function paperData(item) {
  const paths = item.className === 'CompoundPath' ? item.children : [item];
  const parts = [];
  for (const p of paths) {
    const segments = p.segments;
    if (segments.length === 0) continue;
    parts.push('M ' + point(segments[0].point));
    const count = p.closed ? segments.length : segments.length - 1;
    for (let i = 0; i < count; ++i) {
      const s0 = segments[i];
      const s1 = segments[(i + 1) % segments.length];
      if (s0.handleOut.isZero() && s1.handleIn.isZero()) {
        parts.push('L ' + point(s1.point));
      } else {
        parts.push('C ' + point(s0.point.add(s0.handleOut)) + ' ' + point(s1.point.add(s1.handleIn)) + ' ' +
                   point(s1.point));
      }
    }
    if (p.closed) parts.push('Z');
  }
  return parts.join(' ');
}

function libraries(PathKit) {
  const pathKitOps = {
    union: PathKit.PathOp.UNION, intersect: PathKit.PathOp.INTERSECT,
    difference: PathKit.PathOp.DIFFERENCE, xor: PathKit.PathOp.XOR,
  };
  const paperOps = {union: 'unite', intersect: 'intersect', difference: 'subtract', xor: 'exclude'};
  return {
    pathkit: {
      load(data) {
        const p = PathKit.FromSVGString(data);
        p.setFillType(PathKit.FillType.EVENODD);
        return p;
      },
      run: (a, b, operation) => PathKit.MakeFromOp(a, b, pathKitOps[operation]),
      data: (result) => pathKitData(PathKit, result),
      release: (result) => result.delete(),
    },
    paper: {
      load: (data) => new paper.CompoundPath({pathData: data, fillRule: 'evenodd', insert: false}),
      run: (a, b, operation) => a[paperOps[operation]](b, {insert: false}),
      data: paperData,
      release: () => {},
    },
  };
}

function serve(PathKit) {
  paper.setup(new paper.Size(1, 1));
  const peers = libraries(PathKit);
  const operands = new Map();  // id -> {library -> [a, b]}
  const lines = readline.createInterface({input: process.stdin});
  lines.on('line', (line) => {
    const [command, id, ...rest] = line.split('\t');
    let answer;
    try {
      if (command === 'load') {
        const loaded = {};
        for (const [name, peer] of Object.entries(peers)) loaded[name] = [peer.load(rest[0]), peer.load(rest[1])];
        operands.set(id, loaded);
        answer = 'ok';
      } else {
        const [library, operation] = rest;
        const peer = peers[library];
        const [a, b] = operands.get(id)[library];
        const start = process.hrtime.bigint();
        const result = peer.run(a, b, operation);
        const elapsed = process.hrtime.bigint() - start;
        answer = command === 'time' ? String(elapsed) : peer.data(result);
        peer.release(result);
      }
    } catch (error) {
      answer = 'error ' + String(error && error.message ? error.message : error).replace(/\s+/g, ' ');
    }
    process.stdout.write(answer + '\n');
  });
}

PathKitInit({wasmBinary: fs.readFileSync(path.join(modules, 'pathkit-wasm/bin/pathkit.wasm'))}).then(serve);
