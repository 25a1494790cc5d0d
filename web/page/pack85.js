// Bytes as text and back, five characters for four bytes (base64 takes
// six for four and a third): how the page inlines its gzip-compressed
// module and panel. The 85 characters are the printable ones that need
// no escape in a quoted script string and never close a script element.
export const ALPHABET = Array.from({ length: 94 }, (_, i) => String.fromCharCode(33 + i))
  .filter((c) => !`'"\\<>&\`$^`.includes(c)).join('');

// Groups of four bytes as numbers below 85^5, most significant digit
// first; a last group of n < 4 bytes as its first n + 1 digits.
export function pack85(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 4) {
    const n = Math.min(4, bytes.length - i);
    let value = 0;
    for (let k = 0; k < 4; ++k) value = value * 256 + (k < n ? bytes[i + k] : 0);
    const digits = [];
    for (let k = 0; k < 5; ++k, value = Math.floor(value / 85)) digits.unshift(ALPHABET[value % 85]);
    text += digits.slice(0, n + 1).join('');
  }
  return text;
}

export function unpack85(text) {
  const digit = new Map(Array.from(ALPHABET, (c, i) => [c, i]));
  const bytes = new Uint8Array(Math.floor((text.length * 4) / 5));
  let at = 0;
  for (let i = 0; i < text.length; i += 5) {
    const n = Math.min(5, text.length - i);
    let value = 0;
    for (let k = 0; k < 5; ++k) value = value * 85 + (k < n ? digit.get(text[i + k]) : 84);
    for (let k = 0; k < n - 1; ++k) bytes[at++] = Math.floor(value / 256 ** (3 - k)) % 256;
  }
  return bytes.subarray(0, at);
}
