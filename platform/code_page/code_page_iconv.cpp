// The conversions of the native builds, through glibc's iconv, with Windows' answers where
// iconv would refuse: a unit the code page lacks becomes '?', and a byte the code page does
// not define becomes one character instead of ending the conversion.

#include <iconv.h>

#include <cerrno>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "platform/code_page.h"

namespace code_page {
namespace {

constexpr char16_t kDefaultUnit = u'?';
constexpr char kDefaultByte = '?';

// The lead bytes of the double-byte code pages; any other code page here is single-byte.
bool IsLeadByte(unsigned codePage, unsigned char byte) {
  switch (codePage) {
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

bool IsMultiByte(unsigned codePage) { return IsLeadByte(codePage, 0x81) || codePage == 65001; }

// The length of the character at `pos`: two bytes for a lead byte with a trail byte after it,
// one for anything else (a lead byte at the end or before a NUL stands alone, as in Windows).
std::size_t CharacterLength(unsigned codePage, std::string_view text, std::size_t pos) {
  const bool pair = IsLeadByte(codePage, static_cast<unsigned char>(text[pos])) &&
                    pos + 1 < text.size() && text[pos + 1] != '\0';
  return pair ? 2 : 1;
}

std::string IconvName(unsigned codePage) {
  if (codePage == 65001) return "UTF-8";
  return "CP" + std::to_string(codePage);
}

// One open descriptor per code page and direction, for the life of the thread: opening one
// costs far more than a short conversion.
class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (IsOpen()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can; false where it stopped at input it cannot convert.
  bool Run(const char*& in, std::size_t& inLeft, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
      char buffer[1024];
      char* next = buffer;
      std::size_t room = sizeof buffer;
      char* input = const_cast<char*>(in);  // iconv's signature; the input is not changed
      const std::size_t result = iconv(cd_, &input, &inLeft, &next, &room);
      in = input;
      out.append(buffer, static_cast<std::size_t>(next - buffer));
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ConverterFor(unsigned codePage, bool toUtf16) {
  thread_local std::map<std::pair<unsigned, bool>, Converter> converters;
  const auto key = std::make_pair(codePage, toUtf16);
  auto found = converters.find(key);
  if (found == converters.end()) {
    const std::string name = IconvName(codePage);
    found = converters
                .emplace(std::piecewise_construct, std::forward_as_tuple(key),
                         std::forward_as_tuple(toUtf16 ? "UTF-16LE" : name,
                                               toUtf16 ? name : "UTF-16LE"))
                .first;
  }
  return found->second;
}

// A double-byte run iconv refused, a character at a time: glibc's converters may pass over a
// character they lack before they report it (949's A2 E8), so where the refusal stopped does
// not tell which character it was. Each character the code page does not define, or that
// converts to nothing, becomes one default character, as in Windows.
std::u16string ToUtf16ByCharacter(unsigned codePage, std::string_view text) {
  Converter& converter = ConverterFor(codePage, true);
  std::u16string result;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = CharacterLength(codePage, text, pos);
    const char* in = text.data() + pos;
    std::size_t inLeft = length;
    std::string bytes;
    const bool converted = converter.IsOpen() && converter.Run(in, inLeft, bytes);
    const std::u16string unit = Utf16FromBytes(bytes);
    result += converted && !unit.empty() ? unit : std::u16string(1, kDefaultUnit);
    pos += length;
  }
  return result;
}

// Text without ASCII, converted through iconv.
std::u16string ToUtf16Iconv(unsigned codePage, std::string_view text) {
  Converter& converter = ConverterFor(codePage, true);
  const bool doubleByte = IsLeadByte(codePage, 0x81);
  std::u16string result;
  const char* in = text.data();
  std::size_t inLeft = text.size();
  while (inLeft > 0) {
    std::string bytes;
    const bool whole = converter.IsOpen() && converter.Run(in, inLeft, bytes);
    if (!whole && doubleByte) return ToUtf16ByCharacter(codePage, text);
    result += Utf16FromBytes(bytes);
    if (whole) break;
    // A refusal with nothing left to refuse: the converter passed over what it refused.
    if (inLeft == 0) {
      result += kDefaultUnit;
      break;
    }
    // A byte the code page does not define: Windows maps each such byte of a single-byte
    // code page to the control character of the same number, and one of UTF-8 to one default
    // character.
    const auto byte = static_cast<unsigned char>(*in);
    const bool singleByte = converter.IsOpen() && !IsMultiByte(codePage);
    result += singleByte ? static_cast<char16_t>(byte) : kDefaultUnit;
    ++in;
    --inLeft;
  }
  return result;
}

std::string FromUtf16Iconv(unsigned codePage, std::u16string_view text) {
  Converter& converter = ConverterFor(codePage, false);
  const std::string bytes = Utf16Bytes(text);
  std::string result;
  const char* in = bytes.data();
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    if (converter.IsOpen() && converter.Run(in, inLeft, result)) break;
    // One unit the code page lacks (half of a surrogate pair among them): one '?'; but a
    // control character that stands for an undefined byte goes back to that byte.
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(in[0]) |
                                            static_cast<unsigned char>(in[1]) << 8);
    const std::string byte(1, static_cast<char>(unit));
    const bool standsForByte = unit >= 0x80 && unit < 0x100 && !IsMultiByte(codePage) &&
                               ToUtf16Iconv(codePage, byte) == std::u16string(1, unit);
    result += standsForByte ? byte : std::string(1, kDefaultByte);
    in += 2;
    inLeft -= 2;
  }
  return result;
}

}  // namespace

// ASCII is the same in every ANSI code page, and most registry text is ASCII: only the runs
// between ASCII characters go through iconv. In a double-byte code page a trail byte may look
// like ASCII, so a run ends only at an ASCII byte that begins a character.
std::u16string ToUtf16(unsigned codePage, std::string_view text) {
  std::u16string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
      result += static_cast<char16_t>(byte);
      ++pos;
      continue;
    }
    std::size_t end = pos;
    while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80) {
      end += CharacterLength(codePage, text, end);
    }
    result += ToUtf16Iconv(codePage, text.substr(pos, end - pos));
    pos = end;
  }
  return result;
}

std::string FromUtf16(unsigned codePage, std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] < 0x80) {
      result += static_cast<char>(text[pos]);
      ++pos;
      continue;
    }
    std::size_t end = pos;
    while (end < text.size() && text[end] >= 0x80) ++end;
    result += FromUtf16Iconv(codePage, text.substr(pos, end - pos));
    pos = end;
  }
  return result;
}

}  // namespace code_page
