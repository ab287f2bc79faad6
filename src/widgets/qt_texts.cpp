#include "widgets/qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstring>

namespace kuvelt::widgets {

namespace {

// Texts of Qt's print dialogs that its Japanese translation does not cover, whatever their
// context.
class MissingQtTexts : public QTranslator {
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override {
        static const struct {
            const char* source;
            const char* japanese;
        } texts[] = {
            {"Pages", "ページ指定"},
            {"Double Sided Printing", "両面印刷"},
            {"Off", "しない"},
            {"Long side binding", "長辺とじ"},
            {"Short side binding", "短辺とじ"},
            {"Advanced", "詳細設定"},
            {"Current Page", "現在のページ"},
            {"Selection", "選択範囲"},
        };
        if (source == nullptr) return {};
        for (const auto& t : texts) {
            if (std::strcmp(source, t.source) == 0) return QString::fromUtf8(t.japanese);
        }
        return {};
    }
};

}  // namespace

void InstallJapaneseQtTexts(QCoreApplication& app) {
    static QTranslator* qt = nullptr;
    if (qt != nullptr) return;
    qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    }
    // Installed last, asked first: it answers only for the texts Qt's translation misses.
    // Owned by the application, like Qt's own translation above.
    QCoreApplication::installTranslator(new MissingQtTexts(&app));
}

}  // namespace kuvelt::widgets
