#include "core/unattended.h"

namespace kelvarn {

namespace {

QString setting() {
    return qEnvironmentVariable("KELVARN_UNATTENDED").trimmed();
}

QString oneLine(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String(" "));
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

} // namespace

bool unattendedMode() {
    const QString value = setting();
    return !value.isEmpty() && value != QLatin1String("0");
}

Answer unattendedAnswer() {
    return setting().compare(QLatin1String("no"), Qt::CaseInsensitive) == 0 ? Answer::No : Answer::Yes;
}

Answer StderrPrompts::message(const QString& caption, const QString& text, MessageStyle style) {
    const QByteArray line =
        (oneLine(caption) + QStringLiteral(": ") + oneLine(text) + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stream_);
    std::fflush(stream_);
    if (style == MessageStyle::Question || style == MessageStyle::WarnQuestion)
        return unattendedAnswer();
    return Answer::None;
}

bool StderrPrompts::inputText(const QString&, const QString&, QString&) {
    return true;
}

QString StderrPrompts::saveFileName(const QString&, const QString&, const QStringList&, const QString&) {
    return {};
}

QString StderrPrompts::openFileName(const QString&, const QString&, const QStringList&) {
    return {};
}

int StderrPrompts::chooseReport(const QStringList& names, int preselected) {
    if (unattendedAnswer() != Answer::Yes || preselected < 0 || preselected >= names.size())
        return -1;
    return preselected;
}

} // namespace kelvarn
