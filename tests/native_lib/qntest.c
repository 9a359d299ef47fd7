/* A small native library that the tests call through EXTL and EXTS. Every function takes five
 * arguments, each the address of a zero-terminated byte text or null; the caller guarantees at
 * least 8 readable bytes behind every non-null argument. */
#include <stdint.h>
#include <string.h>

#define QNT_EXPORT __attribute__((visibility("default")))

static int32_t read_int32(const char* text) {
  if (!text) return 0;
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= (uint32_t)(unsigned char)text[i] << (8 * i);
  return (int32_t)bits;
}

/* The sum of the five arguments read as 4-byte integers, lowest byte first; null counts 0. */
QNT_EXPORT int qnt_sum(const char* a, const char* b, const char* c, const char* d, const char* e) {
  uint32_t sum = (uint32_t)read_int32(a) + (uint32_t)read_int32(b) + (uint32_t)read_int32(c) +
                 (uint32_t)read_int32(d) + (uint32_t)read_int32(e);
  return (int)(int32_t)sum;
}

/* Upper-cases the first argument in place (within its length) and answers that length. */
QNT_EXPORT int qnt_fill(char* a, char* b, char* c, char* d, char* e) {
  (void)b, (void)c, (void)d, (void)e;
  if (!a) return -1;
  int n = 0;
  for (; a[n]; ++n)
    if (a[n] >= 'a' && a[n] <= 'z') a[n] = (char)(a[n] - 'a' + 'A');
  return n;
}

/* A text result: "Hello, " followed by the first argument (or "world"), in memory of its own. */
QNT_EXPORT const char* qnt_greet(const char* a, const char* b, const char* c, const char* d,
                                 const char* e) {
  static char text[256];
  (void)b, (void)c, (void)d, (void)e;
  strcpy(text, "Hello, ");
  strncat(text, a ? a : "world", sizeof text - strlen(text) - 1);
  return text;
}

/* What arrived: for each argument "null" or the hex digits of its first four bytes, separated by
 * blanks ("02010000 null ..."). */
QNT_EXPORT const char* qnt_bytes(const char* a, const char* b, const char* c, const char* d,
                                 const char* e) {
  static char text[64];
  static const char digits[] = "0123456789ABCDEF";
  const char* args[5] = {a, b, c, d, e};
  char* out = text;
  for (int i = 0; i < 5; ++i) {
    if (i) *out++ = ' ';
    if (!args[i]) {
      memcpy(out, "null", 4);
      out += 4;
      continue;
    }
    for (int k = 0; k < 4; ++k) {
      unsigned char byte = (unsigned char)args[i][k];
      *out++ = digits[byte >> 4];
      *out++ = digits[byte & 15];
    }
  }
  *out = '\0';
  return text;
}

/* A null text result, which leaves RGSTR as it was. */
QNT_EXPORT const char* qnt_null(const char* a, const char* b, const char* c, const char* d,
                                const char* e) {
  (void)a, (void)b, (void)c, (void)d, (void)e;
  return 0;
}

/* Data, not code: a program that names it must not jump into it. */
QNT_EXPORT int qnt_counter = 42;
