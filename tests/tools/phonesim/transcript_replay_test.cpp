// Sessions of standard GSM clients with the demo phone, recorded by
// telvora-phonesim --transcript, played back against SimulatedPhone: the phone
// must answer every command byte for byte as it did when the client accepted it.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "telvora/demophone/phone_state.h"
#include "telvora/demophone/simulated_phone.h"
#include "tools/phonesim/transcript.h"

namespace {

using phonesim::TranscriptEntry;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(TranscriptFormatTest, BytesSurviveEscaping) {
    const QByteArray bytes("AT+CMGS=26\0\r\n> 00\x1a\\x\xc3\xa9", 22);
    EXPECT_EQ(phonesim::escapeTranscriptBytes(bytes),
              QByteArray("AT+CMGS=26\\x00\\r\\n> 00\\x1A\\\\x\\xC3\\xA9"));
    EXPECT_EQ(phonesim::unescapeTranscriptBytes(phonesim::escapeTranscriptBytes(bytes)), bytes);
    EXPECT_FALSE(phonesim::unescapeTranscriptBytes("AT\\q"));
    EXPECT_FALSE(phonesim::unescapeTranscriptBytes("AT\\x4"));
    EXPECT_FALSE(phonesim::unescapeTranscriptBytes("AT\\"));

    QString error;
    const auto entries =
        phonesim::parseTranscript("# gammu\n> AT\\r\n\n< AT\\r\\r\\nOK\\r\\n\n", &error);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2);
    EXPECT_TRUE(entries->at(0).fromClient);
    EXPECT_EQ(entries->at(1).bytes, "AT\r\r\nOK\r\n");
    EXPECT_FALSE(phonesim::parseTranscript("> AT\\r\n? what\n", &error));
    EXPECT_EQ(error, "line 2 is not a transcript line");
}

TEST(TranscriptReplayTest, ClientSessionsAreAnsweredAsRecorded) {
    const QDir dir(QStringLiteral(PHONESIM_TRANSCRIPTS));
    const QStringList files = dir.entryList({"*.txt"}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 4) << "no transcripts in " << dir.path().toStdString();
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QString error;
        const auto entries = phonesim::parseTranscript(readFile(dir.filePath(name)), &error);
        ASSERT_TRUE(entries) << error.toStdString();
        phonesim::PhoneState state = phonesim::demoPhoneState();
        state.options.latencyMs = 0;
        phonesim::SimulatedPhone phone(std::move(state));
        for (qsizetype i = 0; i < entries->size();) {
            const TranscriptEntry& sent = entries->at(i++);
            ASSERT_TRUE(sent.fromClient) << "an answer without a command";
            QByteArray expected;
            while (i < entries->size() && !entries->at(i).fromClient) {
                expected += entries->at(i++).bytes;
            }
            ASSERT_EQ(phone.receiveText(sent.bytes), expected)
                << "after " << phonesim::escapeTranscriptBytes(sent.bytes).toStdString();
        }
    }
}

}  // namespace
