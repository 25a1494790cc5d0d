// A measured sweep's file as measuring programs write it, decoded: by its
// byte-order mark UTF-16 (either byte order) or UTF-8; without one, UTF-16
// where every other byte of its start is 0, UTF-8 where the bytes are
// UTF-8, and else Windows-1252 (a degree sign as the byte 0xB0).
export function decodeSweepFile(bytes) {
  const starts = (...mark) => bytes.length >= mark.length && mark.every((byte, i) => bytes[i] === byte);
  const decode = (encoding, from = 0) => new TextDecoder(encoding).decode(bytes.subarray(from));
  if (starts(0xff, 0xfe)) return decode('utf-16le', 2);
  if (starts(0xfe, 0xff)) return decode('utf-16be', 2);
  if (starts(0xef, 0xbb, 0xbf)) return decode('utf-8', 3);
  const start = bytes.subarray(0, 64);
  const zeros = (parity) => start.length >= 4 && start.every((byte, i) => i % 2 !== parity || byte === 0);
  if (zeros(1)) return decode('utf-16le');
  if (zeros(0)) return decode('utf-16be');
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return decode('windows-1252');
  }
}

// The most bytes of a file worth reading for a text of `textSize` bytes
// of UTF-8: UTF-16 takes at most twice them.
export const mostSweepFileBytes = (textSize) => 2 * textSize;
