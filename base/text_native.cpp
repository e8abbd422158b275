// Native twin of the text conversions: iconv "CP936" for GBK, a small UTF-8 codec of our own
// so that malformed UTF-8 gives the same '?' marks as Windows' decoder (one U+FFFD per
// maximal invalid subsequence).
#include <iconv.h>

#include <cerrno>

#include "base/text.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() { return cd_; }

 private:
  iconv_t cd_;
};

// The continuation byte range allowed after a lead byte: the second byte of E0, ED, F0 and
// F4 sequences is narrower, which excludes overlong forms, surrogates and values past U+10FFFF.
void ContinuationRange(unsigned char lead, int index, unsigned char& lo, unsigned char& hi) {
  lo = 0x80;
  hi = 0xBF;
  if (index != 1) return;
  if (lead == 0xE0) lo = 0xA0;
  if (lead == 0xED) hi = 0x9F;
  if (lead == 0xF0) lo = 0x90;
  if (lead == 0xF4) hi = 0x8F;
}

int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;  // continuation byte or a byte that never starts a sequence
}

// Decodes one character at text[pos] and advances pos; a malformed sequence gives U+FFFD
// and advances past its longest valid start (at least one byte).
char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  unsigned char lead = text[pos++];
  int length = SequenceLength(lead);
  if (length == 1) return lead;
  if (length == 0) return kReplacement;
  char32_t value = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    unsigned char lo, hi;
    ContinuationRange(lead, i, lo, hi);
    if (pos >= text.size()) return kReplacement;
    unsigned char c = text[pos];
    if (c < lo || c > hi) return kReplacement;
    value = (value << 6) | (c & 0x3F);
    ++pos;
  }
  return value;
}

// Runs iconv over the whole input. At a unit it cannot convert, `onBad` appends its stand-in
// and returns how many input bytes to skip.
template <class OnBad>
void RunIconv(Converter& cv, const char* data, size_t size, std::string& out, OnBad onBad) {
  iconv(cv.get(), nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(data);
  size_t inLeft = size;
  char buffer[512];
  while (inLeft > 0) {
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    size_t r = iconv(cv.get(), &in, &inLeft, &o, &oLeft);
    out.append(buffer, o - buffer);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      size_t skip = onBad(in, inLeft, out);
      in += skip;
      inLeft -= skip;
    }
  }
}

std::wstring WideFromGbk(std::string_view gbk) {
  thread_local Converter cv("WCHAR_T", "CP936");
  std::string bytes;
  if (cv.ok()) {
    // A byte that starts no GBK character, or a lead byte without its trail, reads as '?'.
    RunIconv(cv, gbk.data(), gbk.size(), bytes, [](const char*, size_t, std::string& out) {
      wchar_t mark = L'?';
      out.append(reinterpret_cast<const char*>(&mark), sizeof mark);
      return size_t{1};
    });
  }
  std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
  memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
  return wide;
}

}  // namespace

std::string GbkFromUtf8(std::string_view utf8) {
  std::wstring wide;
  for (size_t pos = 0; pos < utf8.size();) wide += static_cast<wchar_t>(DecodeUtf8(utf8, pos));
  thread_local Converter cv("CP936", "WCHAR_T");
  std::string out;
  if (!cv.ok()) return out;
  // GBK has nothing outside the Basic Multilingual Plane; Windows sees such a character as
  // two UTF-16 surrogates and writes a '?' for each, so do the same.
  RunIconv(cv, reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t), out,
           [](const char* at, size_t, std::string& o) {
             wchar_t c;
             memcpy(&c, at, sizeof c);
             o += static_cast<char32_t>(c) > 0xFFFF ? "??" : "?";
             return sizeof(wchar_t);
           });
  return out;
}

std::string Utf8FromGbk(std::string_view gbk) {
  std::string out;
  for (wchar_t c : WideFromGbk(gbk)) AppendUtf8(out, static_cast<char32_t>(c));
  return out;
}

std::wstring wide_from_ansi(const char* gbk) { return WideFromGbk(gbk); }
