// Taking the product folder out of a TRUSTEDPATHS value any program may have written: no entry
// naming the folder stays, every other one stays in its order with every unit (characters the
// code page lacks too), a second removal changes nothing, and what an installation adds goes.
// Input: a selector byte (bits 0, 6, 7: the code page), a length byte n, n bytes of the product
// folder (narrow, in the code page), and the value as the rest: UTF-16LE, any units.

#include <vector>

#include "platform/code_page.h"
#include "registration/trusted_paths.h"
#include "registration/trusted_paths_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

namespace text = registration::trusted_paths_text;

std::vector<std::u16string_view> EntriesOf(std::u16string_view value) {
  std::vector<std::u16string_view> entries;
  for (std::size_t start = 0, end = 0; end != std::u16string_view::npos; start = end + 1) {
    end = value.find(u';', start);
    entries.push_back(value.substr(start, end - start));
  }
  return entries;
}

// The folder itself, with a trailing backslash, or with "\..." (its sub-folders).
bool NamesFolder(std::u16string_view entry, std::u16string_view folder) {
  const std::u16string upper = text::ToUpper(entry), upperFolder = text::ToUpper(folder);
  return upper == upperFolder || upper == upperFolder + u"\\" || upper == upperFolder + u"\\...";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader input(data, size);
  const fuzz::CodePageScope codePage(fuzz::CodePageFrom(input.Byte()));
  const std::u16string folder = text::FromCodePage(input.Take(input.Byte()));
  const std::u16string value = code_page::Utf16FromBytes(input.Rest());

  const std::u16string result = registration::RemoveTrustedFolder(value, folder);
  std::vector<std::u16string_view> others;
  for (const std::u16string_view entry : EntriesOf(value)) {
    if (!NamesFolder(entry, folder)) others.push_back(entry);
  }
  // A value left without entries is empty; otherwise its entries are exactly the others.
  FUZZ_CHECK(others.empty() ? result.empty() : EntriesOf(result) == others);
  for (const std::u16string_view entry : EntriesOf(result)) {
    FUZZ_CHECK(result.empty() || !NamesFolder(entry, folder));
  }
  FUZZ_CHECK(registration::RemoveTrustedFolder(result, folder) == result);

  // Installing adds the folder, upper-casing the value (a placeholder of at most two bytes is
  // replaced); removing takes out only the folder. A folder holding ';' would be added as two
  // entries that name it no more: the setup refuses to install into one.
  if (folder.find(u';') != std::u16string::npos) return 0;
  const std::u16string back =
      registration::RemoveTrustedFolder(registration::FormTrustedPathsValue(value, folder), folder);
  const bool placeholder = text::CodePageLength(std::u16string_view(value).substr(0, 3)) <= 2;
  FUZZ_CHECK(back == (placeholder ? std::u16string() : text::ToUpper(result)));
  return 0;
}
