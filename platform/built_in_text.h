#pragma once

// The program's narrow literals are code page 936 bytes (the build stores them so, with
// -fexec-charset=CP936): what the narrow functions of Windows take on a Chinese machine. Where
// the ANSI code page is another one, the same characters are other bytes. Windows' "Beta: Use
// Unicode UTF-8 for worldwide language support" makes it 65001, and a Chinese character is
// then three bytes of UTF-8.
namespace ansi {

// A built-in text in the active code page: the very pointer under 936; otherwise the text
// converted, where the active code page carries every one of its characters (UTF-8 carries
// them all). Where it does not (1252 has no Chinese), the bytes stay as they have always been
// handed over: '?' would make the product folder a name that Windows refuses, and
// installations made on such a machine keep being recognised by the name they got. Converted
// once per text and code page; the result lives as long as the program. Null stays null.
const char* BuiltIn(const char* text);

}  // namespace ansi
