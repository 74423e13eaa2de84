#include "fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace kelvarn::fuzz {

void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "kelvarn-fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv); // lives as long as the process
}

QString scratchPath(const QString& name) {
    // Memory-backed where there is such a folder: the targets write files at every run.
    static QTemporaryDir dir((QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                 : QDir::tempPath()) +
                             QStringLiteral("/kelvarn-fuzz-XXXXXX"));
    if (!dir.isValid())
        broken("a scratch folder can be made");
    return dir.filePath(name);
}

void broken(const char* invariant, const QString& detail) {
    std::fprintf(stderr, "\n*** broken invariant: %s\n%s\n", invariant, detail.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

uint8_t Input::byte() {
    return pos_ < size_ ? static_cast<uint8_t>(data_[pos_++]) : 0;
}

QByteArray Input::chunk() {
    const size_t start = pos_;
    while (pos_ < size_ && data_[pos_] != '\0')
        ++pos_;
    QByteArray out(data_ + start, static_cast<qsizetype>(pos_ - start));
    if (pos_ < size_)
        ++pos_; // the separator
    return out;
}

QByteArray Input::rest() {
    QByteArray out(data_ + pos_, static_cast<qsizetype>(size_ - pos_));
    pos_ = size_;
    return out;
}

QString withoutNul(QString text) {
    text.remove(QChar(0));
    return text;
}

Answer SilentPrompts::message(const QString&, const QString&, MessageStyle style) {
    ++shown;
    return style == MessageStyle::Question || style == MessageStyle::WarnQuestion ? Answer::Yes : Answer::None;
}

} // namespace kelvarn::fuzz
