#include "cli_gui.h"

#include <QBuffer>
#include <QString>
#include <cstdio>
#include <string_view>

#include "output/replace_file.h"

namespace kalvera::cli {

namespace {
// A batch tool's standard error is for its own reasons; the offscreen
// platform's remark about a missing runtime directory is not one.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg && message.startsWith(QStringLiteral("QStandardPaths:"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
}  // namespace

std::unique_ptr<QGuiApplication> StartGui() {
    if (QGuiApplication::instance() != nullptr) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    static int argc = 1;
    static char name[] = "kalvera-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

bool WritePngFile(const QImage& image, const std::string& path, std::string& error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = "Cannot encode " + path + " as PNG";
        return false;
    }
    const QByteArray& bytes = buffer.data();
    return ReplaceFileContents(
        path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), error);
}

}  // namespace kalvera::cli
