#include "app/kaifont.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace quvo {

QString RegisterKaiFont(const QString& fontFile) {
    QStringList substitutes;
    QString family;
    const int id = QFontDatabase::addApplicationFont(fontFile);
    if (id >= 0 && !QFontDatabase::applicationFontFamilies(id).isEmpty()) {
        family = QFontDatabase::applicationFontFamilies(id).front();
        substitutes << family;
    }
    substitutes << QStringLiteral("AR PL UKai CN") << QStringLiteral("AR PL UKai TW");
    QFont::insertSubstitutions(QString::fromUtf16(kKaiFaceName), substitutes);
    return family;
}

}  // namespace quvo
