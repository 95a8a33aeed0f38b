// lexora-handbook OUT.html TEXT...: writes the program's handbook page from its help texts (UTF-8),
// in the order given. Run by the build when the help texts change.
#include "course/Handbook.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2) {
        std::fputs("usage: lexora-handbook OUT.html TEXT...\n", stderr);
        return 2;
    }
    QStringList texts;
    for (const QString& path : args.mid(1)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "lexora-handbook: cannot read %s\n", qPrintable(path));
            return 1;
        }
        texts << QString::fromUtf8(file.readAll());
    }
    QSaveFile out(args[0]);
    const QByteArray html = lexora::HandbookHtml(texts).toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(html) != html.size() || !out.commit()) {
        std::fprintf(stderr, "lexora-handbook: cannot write %s\n", qPrintable(args[0]));
        return 1;
    }
    return 0;
}
