#include "render/translated_text.h"

#include <QCoreApplication>
#include <QStringList>
#include <array>

#include "common/domain_constants.h"

namespace kalvera {

namespace {

// The words the core's data-age line is made of, so that the catalogue has
// them; the line is translated word by word, its numbers kept as they are.
constexpr std::array<const char*, 5> kDataAgeWords = {
    QT_TRANSLATE_NOOP("kalvera::DataAge", "нет данных"),
    QT_TRANSLATE_NOOP("kalvera::DataAge", "мин"), QT_TRANSLATE_NOOP("kalvera::DataAge", "ч"),
    QT_TRANSLATE_NOOP("kalvera::DataAge", "сут"), QT_TRANSLATE_NOOP("kalvera::DataAge", "назад")};

// The core's window title, held there as kWindowTitle.
[[maybe_unused]] constexpr const char* kTitleSource =
    QT_TRANSLATE_NOOP("kalvera::Program", "КАЛВЕРА");

}  // namespace

std::string TranslatedText(const char* context, std::string_view source) {
    const std::string text(source);
    return QCoreApplication::translate(context, text.c_str()).toStdString();
}

QString ProgramTitle() {
    return QCoreApplication::translate("kalvera::Program", kWindowTitle);
}

QString DataAgeText(const std::string& coreText) {
    QString text = QString::fromStdString(coreText);
    // "нет данных" is two words of the line but one phrase of the catalogue.
    const QString noData = QString::fromUtf8(kDataAgeWords[0]);
    text.replace(noData, QCoreApplication::translate("kalvera::DataAge", kDataAgeWords[0]));
    QStringList words = text.split(QLatin1Char(' '));
    for (QString& word : words) {
        for (size_t k = 1; k < kDataAgeWords.size(); ++k) {
            if (word == QString::fromUtf8(kDataAgeWords[k])) {
                word = QCoreApplication::translate("kalvera::DataAge", kDataAgeWords[k]);
            }
        }
    }
    return words.join(QLatin1Char(' '));
}

}  // namespace kalvera
