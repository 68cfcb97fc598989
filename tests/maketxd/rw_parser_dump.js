// Prints what npm rw-parser reads from a TXD file, as JSON on one line:
// every field of every texture, and the RGBA texels it decodes from the
// first level.
//
//   node rw_parser_dump.js RW_PARSER_DIR FILE.txd
'use strict';
const fs = require('fs');
const path = require('path');

const [parserDir, file] = process.argv.slice(2);
const { TxdParser } = require(path.resolve(parserDir));
const txd = new TxdParser(fs.readFileSync(file)).parse();
const textures = txd.textureDictionary.textureNatives.map((t) => {
  const { mipmaps, ...fields } = t;
  return { ...fields, level0: mipmaps.length > 0 ? Array.from(mipmaps[0]) : [] };
});
process.stdout.write(JSON.stringify({ textureCount: txd.textureDictionary.textureCount, textures }) + '\n');
