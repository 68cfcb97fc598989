// Reads a DFF with npm's rw-parser and compares what it finds, geometry by
// geometry, with dffinfo's JSON listing of the same file: the counts and
// the day colours.
//
//   node compare_counts.js RW_PARSER_DIR FILE.dff FILE.json LABEL
//
// Exit status 0 when every count agrees, 1 when one differs or rw-parser
// cannot read the file.
'use strict';

const fs = require('fs');
const path = require('path');

const [rwParserDir, dffPath, jsonPath, label] = process.argv.slice(2);
const { DffParser } = require(path.resolve(rwParserDir));

function fail(message) {
  console.error(`${label}: ${message}`);
  process.exit(1);
}

// rw-parser names every plug-in record it skips on the console; those
// lines say nothing about the counts.
function quietly(read) {
  const saved = { log: console.log, warn: console.warn, info: console.info, debug: console.debug };
  console.log = console.warn = console.info = console.debug = () => {};
  try {
    return read();
  } finally {
    Object.assign(console, saved);
  }
}

let parsed;
try {
  parsed = quietly(() => new DffParser(fs.readFileSync(dffPath)).parse());
} catch (error) {
  fail(`rw-parser cannot read the export: ${error.message}`);
}
const listing = JSON.parse(fs.readFileSync(jsonPath, 'utf8'));

const theirs = parsed.clumps[0];
const ours = listing.clumps[0];
const theirGeometries = theirs.geometryList ? theirs.geometryList.geometries : [];
const mismatches = [];
const compare = (what, mine, other) => {
  if (mine !== other) mismatches.push(`${what}: dffinfo ${mine}, rw-parser ${other}`);
};

compare('geometries', ours.geometries.length, theirGeometries.length);
compare('atomics', ours.atomics.length, (theirs.atomics || []).length);
ours.geometries.forEach((g, i) => {
  const other = theirGeometries[i];
  if (!other) return;
  compare(`geometry ${i} vertices`, g.vertexCount, other.vertexInformation.length);
  compare(`geometry ${i} triangles`, g.triangleCount, other.triangleInformation.length);
  compare(`geometry ${i} UV sets`, g.uvSets.length, other.textureCoordinatesCount);
  compare(`geometry ${i} materials`, g.materialList.materials.length,
          other.materialList.materialData.length);
  // Day (prelight) colours, byte for byte.
  const theirColours = other.vertexColorInformation || [];
  compare(`geometry ${i} day colours`, g.prelight.length, theirColours.length);
  const differing = g.prelight.findIndex((c, v) => {
    const t = theirColours[v];
    return !t || t.r !== c[0] || t.g !== c[1] || t.b !== c[2] || t.a !== c[3];
  });
  if (differing >= 0) {
    mismatches.push(`geometry ${i} day colour of vertex ${differing}: dffinfo ${g.prelight[differing]}, ` +
                    `rw-parser ${JSON.stringify(theirColours[differing])}`);
  }
});

if (mismatches.length > 0) fail(`the readers disagree:\n  ${mismatches.join('\n  ')}`);
console.log(`${label}: ${ours.geometries.length} geometries read alike by dffinfo and rw-parser`);
