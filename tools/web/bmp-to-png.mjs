// The schematic bitmap as a PNG with the same palette and the same pixel
// values: a 4-bit, bottom-up, uncompressed BMP in, an indexed 4-bit PNG
// out, so that the page shows exactly the program's picture in a fraction
// of the bytes. Deterministic: the same BMP gives the same PNG.
import zlib from 'node:zlib';

const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const body = Buffer.concat([Buffer.from(type, 'latin1'), data]);
  const out = Buffer.alloc(body.length + 8);
  out.writeUInt32BE(data.length, 0);
  body.copy(out, 4);
  out.writeUInt32BE(crc32(body), body.length + 4);
  return out;
}

export function bmpToPng(bmp) {
  const pixels = bmp.readUInt32LE(10);
  const header = bmp.readUInt32LE(14);
  const width = bmp.readInt32LE(18);
  const height = bmp.readInt32LE(22);
  const bits = bmp.readUInt16LE(28);
  const compression = bmp.readUInt32LE(30);
  if (bits !== 4 || compression !== 0 || height <= 0) throw new Error('expected a bottom-up, uncompressed 4-bit BMP');
  const colours = 16;
  const palette = Buffer.alloc(colours * 3);
  for (let i = 0; i < colours; ++i) {
    const at = 14 + header + 4 * i; // blue, green, red, reserved
    palette[3 * i] = bmp[at + 2];
    palette[3 * i + 1] = bmp[at + 1];
    palette[3 * i + 2] = bmp[at];
  }
  const rowBytes = Math.ceil((width * bits) / 8);
  const stride = Math.ceil(rowBytes / 4) * 4;
  const raw = Buffer.alloc(height * (rowBytes + 1)); // each row: filter 0, then the row
  for (let y = 0; y < height; ++y) {
    const from = pixels + (height - 1 - y) * stride;
    bmp.copy(raw, y * (rowBytes + 1) + 1, from, from + rowBytes);
  }
  const ihdr = Buffer.alloc(13);
  ihdr.writeUInt32BE(width, 0);
  ihdr.writeUInt32BE(height, 4);
  ihdr[8] = bits;
  ihdr[9] = 3; // indexed colour
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', ihdr),
    chunk('PLTE', palette),
    chunk('IDAT', zlib.deflateSync(raw, { level: 9, memLevel: 9, strategy: zlib.constants.Z_DEFAULT_STRATEGY })),
    chunk('IEND', Buffer.alloc(0)),
  ]);
}
