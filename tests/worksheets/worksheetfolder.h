#pragma once

// What the worksheet suites share: the data folder's files, read, listed and compared,
// and a worksheet saved through the wizard.
#include "platform/windows1252.h"
#include "support/testapp.h"
#include "worksheets/wizard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>

namespace velmora::test {

// A file's bytes; "<missing>" when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The list file of these titles, in the code page of the worksheet files.
inline QByteArray listBytes(const QStringList &titles)
{
    QByteArray out = " " + QByteArray::number(titles.size()) + " \r\n";
    for (const QString &title : titles)
        out += *toWindows1252(title) + "\r\n";
    return out;
}

// Every entry under a folder, an ordinary file by a digest of its bytes; links are
// named by their target and pipes by kind, never opened.
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        out.insert(path.mid(root.size()),
                   info.isSymLink() ? "link to " + QFile::encodeName(info.symLinkTarget())
                   : info.isFile()  ? QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256).toHex()
                                    : QByteArray(info.isDir() ? "folder" : "other"));
    }
    return out;
}

// A saved worksheet beside the list, as the wizard writes it.
inline void saveSheet(TestApp &app, const QString &title)
{
    wizard &w = app.forms.ref<wizard>();
    fillWizard(w, title);
    w.genwork();
    w.unload();
    TestApp::settle();
}

} // namespace velmora::test
