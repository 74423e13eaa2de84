#pragma once

// What every fuzz target shares: turning the fuzzer's bytes into the program's
// inputs, a scratch folder, prompts nobody answers, and a way to report a broken
// invariant so that libFuzzer keeps the input.

#include "core/prompts.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace kelvarn::fuzz {

// Creates the QCoreApplication once (Qt's plugins, the SQL drivers among them, want one).
void ensureApplication();

// A scratch folder for the files a target has to write, kept for the whole run.
QString scratchPath(const QString& name);

// Stops the run with the input saved: an invariant does not hold.
[[noreturn]] void broken(const char* invariant, const QString& detail = {});

#define FUZZ_CHECK(condition, detail)                                                                         \
    do {                                                                                                      \
        if (!(condition))                                                                                     \
            ::kelvarn::fuzz::broken(#condition, detail);                                                      \
    } while (0)

// Takes the fuzzer's bytes apart: single bytes for choices, texts up to a 0 byte.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(reinterpret_cast<const char*>(data)), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    uint8_t byte();
    // Bytes up to the next 0 byte (or the end), without it.
    QByteArray chunk();
    // The same read as UTF-8; an invalid sequence becomes U+FFFD, as it would in the program.
    QString text() { return QString::fromUtf8(chunk()); }
    QByteArray rest();

private:
    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A text without NUL characters: what can be typed into the program.
QString withoutNul(QString text);

// Prompts of a run nobody watches: boxes are counted, questions answered Yes,
// dialogs cancelled.
class SilentPrompts : public Prompts {
public:
    Answer message(const QString&, const QString&, MessageStyle) override;
    bool inputText(const QString&, const QString&, QString&) override { return false; }
    QString saveFileName(const QString&, const QString&, const QStringList&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QStringList&) override { return {}; }

    int shown = 0;
};

} // namespace kelvarn::fuzz
