#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// Prints every token of a file with its scopes, as the tests' host grammars and
// this extension's grammars give them: `node show-scopes.js source.cpp file`.
'use strict';
const fs = require('fs');
const path = require('path');
const { createRegistry } = require('vscode-tmgrammar-test/dist/common/index.js');

const hostGrammars = ['cpp', 'cpp-macro', 'java', 'csharp'].map((name) => ({
  path: require.resolve(`tm-grammars/grammars/${name}.json`),
  scopeName: '',
}));
const own = require('./package.json').contributes.grammars.map((grammar) => ({
  ...grammar,
  path: path.join(__dirname, grammar.path),
}));

async function main() {
  const [scope, file] = process.argv.slice(2);
  if (!scope || !file) {
    console.error('usage: node show-scopes.js <root scope> <file>');
    process.exit(2);
  }
  const grammar = await createRegistry([...hostGrammars, ...own]).loadGrammar(scope);
  let stack = null;
  fs.readFileSync(file, 'utf8').split(/\r\n|\n/).forEach((line, index) => {
    const result = grammar.tokenizeLine(line, stack);
    stack = result.ruleStack;
    console.log(`${index + 1}: ${line}`);
    for (const token of result.tokens) {
      const text = line.slice(token.startIndex, token.endIndex);
      const scopes = token.scopes.filter((s) => s !== scope).join(' ');
      console.log(`    ${JSON.stringify(text)}  ${scopes}`);
    }
  });
}
main();
