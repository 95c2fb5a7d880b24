#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include "resources/string_table.h"

bool booInstallQtTranslations() {
    static QPointer<QTranslator> s_installed;
    delete s_installed.data();  // also takes it out of the application
    auto* pTranslator = new QTranslator(QCoreApplication::instance());
    const QString sName = QStringLiteral("qtbase_") + (booResJapanese() ? "ja" : "en");
    if (!pTranslator->load(sName, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete pTranslator;
        return false;
    }
    QCoreApplication::installTranslator(pTranslator);
    s_installed = pTranslator;
    return true;
}
