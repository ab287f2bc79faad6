// The icons and type names the file dialogs of both programs list files with: taken from a file's
// kind and name only, in Japanese. Qt's own provider asks the MIME database, which reads the first
// bytes of every listed file (on /proc/kmsg, a device or a FIFO that read never returns and the
// dialog hangs), and names types in English ("Folder").
#pragma once

#include <QFileIconProvider>

namespace kuvelt::widgets {

class ListingOnlyIconProvider : public QFileIconProvider {
  public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

}  // namespace kuvelt::widgets
