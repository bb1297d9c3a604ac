#pragma once
// What a telvora-cli subcommand gets: the opened link, the language, its own
// arguments, the output streams and message boxes that print instead of
// showing a window. Each feature keeps its subcommands in
// telvora/cli/<feature>_commands.cpp and lists them in cli.cpp.

#include <QStringList>
#include <QTextStream>

#include "telvora/core/message_boxes.h"
#include "telvora/core/ui_texts.h"
#include "telvora/link/command_host.h"

namespace telvora {

class AtLink;

// Message boxes of the command line: failures go to standard error, notices
// to standard output, one line each. A question is printed and answered
// Yes/OK, since the user asked for the action on the command line.
class StreamMessageBoxes : public MessageBoxes {
public:
    StreamMessageBoxes(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}

    void show(Kind kind, const QString& text) override {
        (kind == Kind::Error ? m_err : m_out) << text << '\n';
    }
    bool askYesNo(Kind kind, const QString& text) override {
        show(kind, text);
        return true;
    }
    bool askOkCancel(Kind kind, const QString& text) override {
        show(kind, text);
        return true;
    }

private:
    QTextStream& m_out;
    QTextStream& m_err;
};

struct CliContext {
    AtLink& link;
    Language language;
    QStringList args;  // the subcommand's own arguments
    QTextStream& out;
    QTextStream& err;
    MessageBoxes& messages;
    CommandHost& host;  // where the subcommand's commands start

    QString text(int n) const { return UiText(language, n); }
    // `text`, and on the demo phone the note that nothing real was done.
    QString withSimulatedNote(const QString& text) const {
        return host.simulated() ? text + u' ' + this->text(kTextOnlySimulated) : text;
    }
};

}  // namespace telvora
