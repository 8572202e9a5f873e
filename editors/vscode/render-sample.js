#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// Draws a C++ file as VS Code colours it with this extension in the Dark+ theme, as
// a PNG: `node render-sample.js images/sample.xcpp images/sample.png`. The text is set
// in DejaVu Sans Mono (Debian: fonts-dejavu-core), so the picture is the same on every
// machine that has it.
'use strict';
const fs = require('fs');
const path = require('path');
const { Resvg } = require('@resvg/resvg-js');
const { createRegistry } = require('vscode-tmgrammar-test/dist/common/index.js');

const theme = require('tm-themes/themes/dark-plus.json');
const hostGrammars = ['cpp', 'cpp-macro'].map((name) => ({
  path: require.resolve(`tm-grammars/grammars/${name}.json`),
  scopeName: '',
}));
const own = require('./package.json').contributes.grammars.map((grammar) => ({
  ...grammar,
  path: path.join(__dirname, grammar.path),
}));

const foreground = theme.colors['editor.foreground'];
const background = theme.colors['editor.background'];
const font = '/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf';
const escapeXml = (text) =>
  text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

async function main() {
  const [input, output] = process.argv.slice(2);
  const registry = createRegistry([...hostGrammars, ...own]);
  registry.setTheme({
    name: theme.name,
    settings: [{ settings: { foreground, background } }, ...theme.tokenColors],
  });
  const colors = registry.getColorMap();
  const grammar = await registry.loadGrammar('source.cpp');
  const lines = fs.readFileSync(input, 'utf8').replace(/\n$/, '').split(/\r?\n/);
  const lineHeight = 19;
  const charWidth = 8.4;
  const width = Math.ceil(Math.max(...lines.map((l) => l.length)) * charWidth) + 32;
  const height = lines.length * lineHeight + 24;
  const rows = [];
  let stack = null;
  lines.forEach((line, row) => {
    const result = grammar.tokenizeLine2(line, stack);
    stack = result.ruleStack;
    const spans = [];
    for (let i = 0; i < result.tokens.length; i += 2) {
      const start = result.tokens[i];
      const end = i + 2 < result.tokens.length ? result.tokens[i + 2] : line.length;
      const meta = result.tokens[i + 1];
      const color = colors[(meta & 0x00ff8000) >>> 15];
      const italic = (meta >>> 11) & 1 ? ' font-style="italic"' : '';
      const text = line.slice(start, end);
      if (text) spans.push(`<tspan fill="${color}"${italic}>${escapeXml(text)}</tspan>`);
    }
    rows.push(`  <text x="16" y="${20 + row * lineHeight}" xml:space="preserve">${spans.join('')}</text>`);
  });
  const svg = [
    `<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" ` +
      'font-family="DejaVu Sans Mono" font-size="14">',
    `  <rect width="100%" height="100%" fill="${background}"/>`,
    ...rows,
    '</svg>',
    '',
  ].join('\n');
  const picture = new Resvg(svg, {
    font: { loadSystemFonts: false, fontFiles: [font], defaultFontFamily: 'DejaVu Sans Mono' },
  });
  fs.writeFileSync(output, picture.render().asPng());
}
main();
