#include "widgets/file_icons.h"

#include <QFileInfo>

namespace kuvelt::widgets {

QIcon ListingOnlyIconProvider::icon(const QFileInfo& info) const {
    return icon(info.isDir() ? QAbstractFileIconProvider::Folder : QAbstractFileIconProvider::File);
}

QString ListingOnlyIconProvider::type(const QFileInfo& info) const {
    if (info.isDir()) return QStringLiteral("ﾌｫﾙﾀﾞ");
    if (!info.isFile()) return QStringLiteral("特殊ﾌｧｲﾙ");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("ﾌｧｲﾙ") : suffix.toUpper() + QStringLiteral(" ﾌｧｲﾙ");
}

}  // namespace kuvelt::widgets
