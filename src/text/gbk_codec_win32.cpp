// The GBK tables on Windows, from code page 936 of the system.
#include <windows.h>

#include "text/gbk_codec.h"

namespace decor {
namespace {

// Windows maps GBK's user-defined areas (AAA1-AFFE, F8A1-FEFE, A140-A7A0) to the Private Use
// Area; glibc's GBK leaves them out. They hold no character anyone types, and leaving them out
// here too makes both builds turn the same bytes into the same text.
bool privateUse(unsigned cp) { return cp >= 0xE000 && cp <= 0xF8FF; }

}  // namespace

GbkCodec::GbkCodec(unsigned codePage) {
  if (!IsValidCodePage(codePage)) return;

  toGbk_.assign(0x10000, kNone);
  for (unsigned cp = 0; cp < 0x10000; ++cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || privateUse(cp)) continue;
    const wchar_t wide = static_cast<wchar_t>(cp);
    unsigned char out[4];
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks is "?", not a look-alike.
    const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &wide, 1, reinterpret_cast<char*>(out),
                                      sizeof out, nullptr, &usedDefault);
    if (usedDefault) continue;
    if (n == 1) toGbk_[cp] = out[0];
    if (n == 2) toGbk_[cp] = static_cast<char16_t>(out[0] << 8 | out[1]);
  }

  singleByte_.assign(0x100, kNone);
  doubleByte_.assign(0x10000, kNone);
  for (unsigned lead = 0; lead < 0x100; ++lead) {
    const char one[1] = {static_cast<char>(lead)};
    wchar_t wide[2];
    if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(lead))) {
      singleByte_[lead] = kLead;
      for (unsigned trail = 0; trail < 0x100; ++trail) {
        const char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, two, 2, wide, 2) == 1 && !privateUse(wide[0])) {
          doubleByte_[lead << 8 | trail] = static_cast<char16_t>(wide[0]);
        }
      }
    } else if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, one, 1, wide, 2) == 1 && !privateUse(wide[0])) {
      singleByte_[lead] = static_cast<char16_t>(wide[0]);
    }
  }
  hasConverter_ = true;
  asciiUnchanged_ = asciiMapsToItself();
}

}  // namespace decor
