#include "settings/RDSSampleText.h"

#include <array>

namespace {

// rta: a German sentence with umlauts and ß, a line feed escape and the
// punctuation of a German keyboard; rtb: BOM, Latin accents and symbols;
// rtc: Arabic and Cyrillic; rtd: escapes of Greek and maths signs, Polish.
const std::array<const char*, 4> kTexts = {
    "\"Hallo Welt!\" Zw\u00f6lf B\u00e4ren \u00fcbten den Spa\u00df.#0A"
    "\u00b0!\"\u00a7$%&/\\()=-?~\u00c4\u00d6\u00dc#\u00b5\u20ac'",
    "\ufeff\u00e1\u00e0\u00e9\u00e8\u00ed\u00ec\u00f3\u00f2\u00fa\u00f9\u00b1\u0177\u0175"
    "\u00ce\u0130\u00cd\u00cc\u00cf#0a@\u2551\u03c0\u20ac\u00a3$\u2190\u2191\u2192\u2193"
    "\u013f\u0140\u0110\u00f0\u00df\u011e\u011f#0a\u00d5\u00f5\u00d8\u00f8\u00de\u00fe"
    "\u014a\u014b\u0154\u0106\u015a\u0179\u0166\u0167#0a\u00d1\u00f1\u00c7\u00e7\u015e"
    "\u015f\u00bf\u00a1\u0131\u0132\u0133",
    "اللغة العربية - Съешь ещё этих мягких французских булок, да выпей чаю",
    "#03A9 #2260 #2126 : Omega is not Ohm!#0APi = #03C0 = 3.14159#0AZa\u017c\u00f3\u0142\u0107 "
    "g\u0119\u015bl\u0105 ja\u017a\u0144.",
};

const std::array<const char*, 4> kKeys = {"rta", "rtb", "rtc", "rtd"};

} // namespace

QString RDSSampleText::text(Which which)
{
    return QString::fromUtf8(kTexts[which]);
}

QString RDSSampleText::keyOf(Which which)
{
    return QLatin1String(kKeys[which]);
}
