#include "ui/colour_menu.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <array>
#include <cstdio>

#include "demo/demo_generator.h"
#include "geo/colour_choice.h"
#include "render/picture_render.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/user_settings.h"
#include "ui/vertical_tools.h"

namespace kalvera {

namespace {

struct KindEntry {
    LayerKind kind;
    const char* key;    // in the user's settings file
    const char* title;  // of the submenu
};

const std::array<KindEntry, kLayerKinds> kKinds = {{
    {LayerKind::Reflectivity, "colours/reflectivity",
     QT_TRANSLATE_NOOP("kalvera::ColourMenu", "Цвета отражаемости")},
    {LayerKind::EchoTops, "colours/echoTops",
     QT_TRANSLATE_NOOP("kalvera::ColourMenu", "Цвета верхней границы")},
    {LayerKind::Phenomena, "colours/phenomena",
     QT_TRANSLATE_NOOP("kalvera::ColourMenu", "Цвета явлений")},
    {LayerKind::Vil, "colours/vil", QT_TRANSLATE_NOOP("kalvera::ColourMenu", "Цвета VIL")},
}};
constexpr const char* kOpacityKey = "colours/cellOpacity";

// The presets shipped with the program, by file name, as a menu names them.
struct PresetName {
    const char* file;
    const char* shown;
};
const std::array<PresetName, 3> kPresetNames = {{
    {"greyscale", QT_TRANSLATE_NOOP("kalvera::ColourMenu", "оттенки серого")},
    {"colourblind-reflectivity",
     QT_TRANSLATE_NOOP("kalvera::ColourMenu", "различимая при нарушениях цветового зрения")},
    {"colourblind-phenomena",
     QT_TRANSLATE_NOOP("kalvera::ColourMenu", "различимая при нарушениях цветового зрения")},
}};

QString Tr(const char* text) {
    return QCoreApplication::translate("kalvera::ColourMenu", text);
}

QString Native(const std::string& text) {
    return QString::fromStdString(text);
}

void Redraw(TForm1& window) {
    if (window.vertical) window.vertical->coloursChanged();
    ViewerState& viewer = window.viewer();
    if (viewer.pictureDrawn) {
        window.ShowDecodedPicture();
    } else {
        DrawLegend(viewer, viewer.WindowDC);
    }
}

void Choose(TForm1& window, Dialogs& dialogs, const KindEntry& entry, const std::string& name) {
    AppConfig& config = window.viewer().config;
    std::shared_ptr<const ColourTable> table;
    std::string error;
    std::vector<std::string> warnings;
    if (!ResolveColourTable(name, ColourFolders(config), table, error, warnings)) {
        dialogs.showMessage(
            &window,
            QCoreApplication::translate("kalvera::ColourMenu", "Таблица цветов не прочитана:\n%1")
                .arg(Native(error)),
            Tr(entry.title));
        return;
    }
    if (!warnings.empty()) {
        QString text;
        for (const std::string& warning : warnings) text += Native(warning) + '\n';
        dialogs.showMessage(
            &window,
            QCoreApplication::translate("kalvera::ColourMenu",
                                        "Таблица цветов прочитана с замечаниями:\n%1")
                .arg(text),
            Tr(entry.title));
    }
    config.colours.tables[static_cast<size_t>(entry.kind)] = table;
    UserSettings::setValue(QString::fromUtf8(entry.key), Native(name));
    Redraw(window);
}

// The kind's submenu, filled anew each time it opens: a table put into a
// folder meanwhile is offered at once.
void FillKindMenu(QMenu& sub, TForm1& window, Dialogs& dialogs, const KindEntry& entry) {
    sub.clear();
    qDeleteAll(sub.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
    auto* group = new QActionGroup(&sub);
    const QString chosen =
        UserSettings::value(QString::fromUtf8(entry.key), QString::fromUtf8(kClassicTableName))
            .toString();
    const auto add = [&](const QString& text, const std::string& name) {
        QAction* action = sub.addAction(text);
        action->setCheckable(true);
        action->setChecked(Native(name) == chosen);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, &window, [&window, &dialogs, &entry, name] {
            Choose(window, dialogs, entry, name);
        });
    };
    add(ColourTableDisplayName(kClassicTableName), kClassicTableName);
    for (const ColourTableFile& file : ListColourTables(ColourFolders(window.viewer().config))) {
        ColourTable table;
        std::string error;
        std::vector<std::string> warnings;
        // A table that does not read is offered all the same: choosing it
        // says what is wrong with it.
        if (LoadColourTable(file.path, table, error, warnings) &&
            !TableSuitsKind(table, entry.kind)) {
            continue;
        }
        add(ColourTableDisplayName(file.name), file.name);
    }
    sub.addSeparator();
    QAction* folder =
        sub.addAction(QCoreApplication::translate("kalvera::ColourMenu", "Свои таблицы: %1")
                          .arg(UserColourFolderPath()));
    folder->setEnabled(false);
}

void FillOpacityMenu(QMenu& sub, TForm1& window) {
    auto* group = new QActionGroup(&sub);
    const int current = window.viewer().config.colours.cellOpacity;
    for (int percent = 100; percent >= kMinCellOpacity; percent -= 5) {
        QAction* action = sub.addAction(QStringLiteral("%1 %").arg(percent));
        action->setCheckable(true);
        action->setChecked(percent == current);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, &window, [&window, percent] {
            window.viewer().config.colours.cellOpacity = percent;
            UserSettings::setValue(QString::fromUtf8(kOpacityKey), percent);
            Redraw(window);
        });
    }
}

}  // namespace

QString ColourTableDisplayName(const std::string& name) {
    if (name == kClassicTableName) {
        return QCoreApplication::translate("kalvera::ColourMenu", "классическая (colors.bin)");
    }
    for (const PresetName& preset : kPresetNames) {
        if (name == preset.file) return Tr(preset.shown);
    }
    // A user's table goes by its file's name, never by the whole path.
    return QFileInfo(Native(name)).completeBaseName();
}

QString UserColourFolderPath() {
    return QString::fromStdString(UserColourFolder());
}

std::vector<std::string> ColourFolders(const AppConfig& config) {
    return ColourTableFolders(config.startDir, demo::ShippedDataDir());
}

void LoadColourChoice(AppConfig& config) {
    const std::vector<std::string> folders = ColourFolders(config);
    for (const KindEntry& entry : kKinds) {
        const std::string name =
            UserSettings::value(QString::fromUtf8(entry.key)).toString().toStdString();
        if (name.empty()) continue;
        std::shared_ptr<const ColourTable> table;
        std::string error;
        std::vector<std::string> warnings;
        if (ResolveColourTable(name, folders, table, error, warnings)) {
            config.colours.tables[static_cast<size_t>(entry.kind)] = table;
        } else {
            std::fprintf(stderr, "kalvera: %s\n", error.c_str());
        }
    }
    config.colours.cellOpacity =
        OpacityStep(UserSettings::value(QString::fromUtf8(kOpacityKey), 100).toInt());
}

void AddColourMenus(QMenu& menu, TForm1& window, Dialogs& dialogs) {
    for (const KindEntry& entry : kKinds) {
        QMenu* sub = menu.addMenu(Tr(entry.title));
        QObject::connect(sub, &QMenu::aboutToShow, &window, [sub, &window, &dialogs, &entry] {
            FillKindMenu(*sub, window, dialogs, entry);
        });
    }
    QMenu* opacity =
        menu.addMenu(QCoreApplication::translate("kalvera::ColourMenu", "Непрозрачность ячеек"));
    QObject::connect(opacity, &QMenu::aboutToShow, &window, [opacity, &window] {
        opacity->clear();
        qDeleteAll(opacity->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
        FillOpacityMenu(*opacity, window);
    });
}

}  // namespace kalvera
