#!/usr/bin/env node
// SPDX-License-Identifier: MIT
// Writes the injection grammars into syntaxes/. A TextMate rule cannot read the
// delimiters that a block header chooses, so every delimiter pair that the blocks
// are to follow needs rules of its own; they are made here from one list instead of
// being written out by hand. `node build-grammars.js --check` fails when a committed
// grammar differs from what this script makes.
'use strict';
const fs = require('fs');
const path = require('path');

const suffix = 'xvantor';

// The host languages, and the rule of each host grammar that tokenises an expression.
const hosts = [
  { id: 'cpp', scope: 'source.cpp', expression: 'source.cpp#evaluation_context' },
  { id: 'java', scope: 'source.java', expression: 'source.java#code' },
  { id: 'cs', scope: 'source.cs', expression: 'source.cs#expression' },
];

// Expression delimiter pairs that a header may choose and that the text follows; the
// first pair is the default. A header that chooses another pair, or changes the file
// delimiters, leaves its text plain.
const pairs = [
  ['<!', '!>'],
  ['{{', '}}'],
  ['{', '}'],
  ['[[', ']]'],
  ['[', ']'],
  ['${', '}'],
  ['<%', '%>'],
];

const escape = (text) => text.replace(/[\\^$.*+?()[\]{}|]/g, '\\$&');
const endLineAhead = '(?=[^\\r\\n]*END_FRAME_TEXT)';
const anyFlag = 'FLAG_(?:<!|!>|<#|#>)';
// The escape mode changes no delimiter, so it leaves the header's pair as it is.
const escapeFlag = 'FLAG_ESCAPE';

// The first definition of a keyword counts, so the value is read after its first
// occurrence only.
const firstValue = (keyword, value) =>
  `(?=(?:(?!${escape(keyword)})[^\\r\\n])*${escape(keyword)}[^"\\r\\n]*"${escape(value)}")`;

function headerCondition(index) {
  if (index === 0) return `(?![^\\r\\n]*${anyFlag})`;
  const [open, close] = pairs[index];
  return firstValue('FLAG_<!', open) + firstValue('FLAG_!>', close) +
    '(?![^\\r\\n]*FLAG_(?:<#|#>))';
}

function headerInner() {
  return {
    patterns: [
      {
        match: `(${anyFlag}|${escapeFlag})([^"\\r\\n]*)((")([^"\\r\\n]*)("))`,
        captures: {
          1: { name: `keyword.other.flag.${suffix}` },
          2: { name: `punctuation.separator.flag.${suffix}` },
          3: { name: `string.quoted.double.flag.${suffix}` },
          4: { name: `punctuation.definition.string.begin.${suffix}` },
          6: { name: `punctuation.definition.string.end.${suffix}` },
        },
      },
      { match: '[()]', name: `punctuation.section.parens.frame-text.${suffix}` },
    ],
  };
}

// Host code between two delimiters. Each line is tokenised on its own, so nothing
// that the host grammar opens there (a string holding the closing delimiter, say)
// can run past the delimiter or out of the block.
function expressionRules(host, index) {
  const [open, close] = pairs[index].map(escape);
  const hostCode = { patterns: [{ include: host.expression }] };
  const openName = { name: `punctuation.section.embedded.begin.${suffix}` };
  const closeName = { name: `punctuation.section.embedded.end.${suffix}` };
  return [
    {
      name: `meta.embedded.expression.${suffix}`,
      match: `(${open})(.*?)(${close})`,
      captures: { 1: openName, 2: hostCode, 3: closeName },
    },
    {
      name: `meta.embedded.expression.${suffix}`,
      begin: `(${open})(.*)`,
      beginCaptures: { 1: openName, 2: hostCode },
      end: `^${endLineAhead}|^(.*?)(${close})`,
      endCaptures: { 1: hostCode, 2: closeName },
      patterns: [{ match: '.+', captures: { 0: hostCode } }],
    },
  ];
}

const fileRule = {
  name: `meta.embedded.file.${suffix}`,
  begin: '<#',
  beginCaptures: { 0: { name: `punctuation.section.embedded.file.begin.${suffix}` } },
  end: `^${endLineAhead}|#>`,
  endCaptures: { 0: { name: `punctuation.section.embedded.file.end.${suffix}` } },
  contentName: `entity.name.file.${suffix}`,
};

function textRule(host, index) {
  const patterns = [];
  if (index !== undefined) {
    patterns.push(...expressionRules(host, index), fileRule);
    const [open] = pairs[index].map(escape);
    patterns.push({ match: `(?:(?!${open}|<#).)+`, name: `string.unquoted.frame-text.${suffix}` });
  } else {
    patterns.push({ match: '.+', name: `string.unquoted.frame-text.${suffix}` });
  }
  return {
    name: `meta.frame-text.body.${suffix}`,
    begin: `^(?![^\\r\\n]*END_FRAME_TEXT)`,
    end: `^${endLineAhead}`,
    patterns,
  };
}

const endLine = {
  name: `meta.frame-text.end.${suffix}`,
  begin: '^(.*?)(END_FRAME_TEXT)',
  beginCaptures: { 2: { name: `keyword.control.frame-text.end.${suffix}` } },
  end: '\\)',
  endCaptures: { 0: { name: `punctuation.section.parens.frame-text.${suffix}` } },
  patterns: [{ match: '\\(', name: `punctuation.section.parens.frame-text.${suffix}` }],
};

const blockScope = `meta.frame-text.${suffix}`;
const beginKeyword = { name: `${blockScope} keyword.control.frame-text.begin.${suffix}` };
const headerScope = `${blockScope} meta.frame-text.header.${suffix}`;

// Host rules that begin earlier on the line (a call, a declaration) would take the
// keyword into their own match, so a block is matched from the start of its line and
// the code before the keyword is given to the host grammar on its own.
const lineStart = '(^.*?|[ \\t]*)(BEGIN_FRAME_TEXT)';
const prefix = (host) => ({ patterns: [{ include: host.scope }] });

function blockGrammar(host) {
  const repository = { 'header-inner': headerInner(), 'end-line': endLine };
  const patterns = [];
  // A header on one line, once for each pair whose pieces the text can mark. The
  // header's line break is taken too, so that the block's end, which follows a ")",
  // cannot match at the end of the header line.
  pairs.forEach((pair, index) => {
    repository[`text-${index}`] = textRule(host, index);
    patterns.push({
      contentName: blockScope,
      begin: `${lineStart}${headerCondition(index)}(?=[^)\\r\\n]*\\))([^\\r\\n]*)\\n`,
      beginCaptures: { 1: prefix(host), 2: beginKeyword, 3: { name: headerScope, patterns: [{ include: '#header-inner' }] } },
      end: '(?<=\\))',
      patterns: [{ include: '#end-line' }, { include: `#text-${index}` }],
    });
  });
  // Any other header: the text is shown plain.
  repository['text-plain'] = textRule(host, undefined);
  patterns.push({
    contentName: blockScope,
    begin: `${lineStart}(?=[^)\\r\\n]*\\))([^\\r\\n]*)\\n`,
    beginCaptures: { 1: prefix(host), 2: beginKeyword, 3: { name: headerScope, patterns: [{ include: '#header-inner' }] } },
    end: '(?<=\\))',
    patterns: [{ include: '#end-line' }, { include: '#text-plain' }],
  });
  // A header over several lines runs to the line that holds its first ")".
  patterns.push({
    contentName: blockScope,
    begin: lineStart,
    beginCaptures: { 1: prefix(host), 2: beginKeyword },
    end: '(?<=\\))',
    patterns: [
      {
        name: `meta.frame-text.header.${suffix}`,
        begin: '\\G',
        end: '^([^)\\r\\n]*\\)[^\\r\\n]*)\\n',
        endCaptures: { 1: { patterns: [{ include: '#header-inner' }] } },
        patterns: [{ include: '#header-inner' }],
      },
      { include: '#end-line' },
      { include: '#text-plain' },
    ],
  });
  return {
    $comment: 'Generated by build-grammars.js; edit that script instead.',
    scopeName: `${suffix}.frame-text.${host.id}.injection`,
    injectionSelector: `L:${host.scope} -meta.frame-text.${suffix}`,
    patterns,
    repository,
  };
}

// "frame Name {" and "frame(Name) {": rewritten when a "{" comes before any "("; a
// line that ends first is taken as a declaration whose "{" stands on the next line,
// unless a ";" ended the statement. The host grammar never sees a class after "frame", so
// the declaration is a class here, through the closing "}" of its body: the head with
// the host's rules for base classes, the body with its rules for class members, so that
// member functions are definitions rather than calls. One grammar per host, since each
// names its own rules.
const identifier = '[A-Za-z_$][\\w$]*';
const classParts = {
  cpp: {
    outer: 'meta.block.class.cpp',
    head: ['source.cpp#inheritance_context'],
    body: 'meta.body.class.cpp',
    members: ['function_pointer', 'static_assert', 'constructor_inline', 'destructor_inline',
      'operator_overload', 'normal_variable_declaration', 'normal_variable_assignment']
      .map((rule) => `source.cpp#${rule}`)
      .concat('source.cpp'),
  },
  java: {
    outer: 'meta.class.java',
    head: ['source.java#comments', 'source.java#object-types-inherited'],
    body: 'meta.class.body.java',
    members: ['source.java#class-body'],
  },
  // The C# grammar names neither a class nor its body.
  cs: {
    outer: '',
    head: ['source.cs#comment', 'source.cs#base-types'],
    body: '',
    members: ['source.cs#class-or-struct-members'],
  },
};
function keywordGrammar(host) {
  const parts = classParts[host.id];
  return {
    $comment: 'Generated by build-grammars.js; edit that script instead.',
    scopeName: `${suffix}.frame-keyword.${host.id}.injection`,
    injectionSelector: `L:${host.scope} -comment -string -meta.frame-text.${suffix}`,
    patterns: [
      {
        name: `meta.class.frame.${suffix} ${parts.outer}`.trim(),
        begin: `(?:^|(?<= ))(frame)(?: +(${identifier})| *(\\()(${identifier})(\\)))(?= |$)` +
          '(?=[^({]*\\{|[^({;]*$)',
        beginCaptures: {
          1: { name: `storage.type.class.frame.${suffix}` },
          2: { name: `entity.name.type.class.${suffix}` },
          3: { name: `punctuation.definition.parameters.begin.${suffix}` },
          4: { name: `entity.name.type.class.${suffix}` },
          5: { name: `punctuation.definition.parameters.end.${suffix}` },
        },
        end: '(?<=\\})|(?=;)',
        patterns: [
          {
            begin: '\\{',
            beginCaptures: { 0: { name: `punctuation.section.block.begin.frame.${suffix}` } },
            end: '\\}',
            endCaptures: { 0: { name: `punctuation.section.block.end.frame.${suffix}` } },
            contentName: `meta.body.class.frame.${suffix} ${parts.body}`.trim(),
            patterns: parts.members.map((rule) => ({ include: rule })),
          },
          ...parts.head.map((rule) => ({ include: rule })),
        ],
      },
    ],
  };
}

const outputs = {};
for (const host of hosts) {
  outputs[`frame-text.${host.id}.tmLanguage.json`] = blockGrammar(host);
  outputs[`frame-keyword.${host.id}.tmLanguage.json`] = keywordGrammar(host);
}

const check = process.argv.includes('--check');
let stale = 0;
for (const [name, grammar] of Object.entries(outputs)) {
  const file = path.join(__dirname, 'syntaxes', name);
  const text = JSON.stringify(grammar, null, 2) + '\n';
  if (!check) {
    fs.mkdirSync(path.dirname(file), { recursive: true });
    fs.writeFileSync(file, text);
  } else if (!fs.existsSync(file) || fs.readFileSync(file, 'utf8') !== text) {
    console.error(`${file} is out of date: run node build-grammars.js`);
    stale++;
  }
}
process.exit(stale ? 1 : 0);
