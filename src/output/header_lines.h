#pragma once
// The text lines above an exported or printed picture.

#include <string>

namespace kalvera {

// The save button writes "а/п " with a blank; the automatic export has always
// glued the site name to "а/п", and the programs that read its file may rely
// on that, so it keeps its own form.
enum class HeaderForm { SaveButton, Automatic };

std::string HeaderLine1();
// "РРП а/п <site>. Дата <date> Время <term> сгв"
std::string HeaderLine2(HeaderForm form, const std::string& site, const std::string& date,
                        const std::string& term);
// The printed page's third line: "Слой <layerCode>", or a derived product's
// name ("Макс. отражаемость", "VIL, кг/м²").
std::string HeaderLine3(int layerCode);

// A date-time value in the short date format of the chosen language (the
// default QLocale, which is the system's until the program chooses one).
std::string ShortDateText(double dateTime);

}  // namespace kalvera
