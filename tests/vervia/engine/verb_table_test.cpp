#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <sstream>
#include <vector>

#include "engine_test_support.h"

namespace vervia::test {
namespace {

constexpr int kAbastecer = 0;
constexpr int kHaber = 95;
constexpr int kIr = 105;
constexpr int kRenir = 162;

// The field as it lies in the raw image: length byte, characters, padding.
std::string_view RawField(int record, int field) {
    const auto* bytes = IrregularVerbTable.data() + record * kRecordSize + field * kFieldSize;
    return {reinterpret_cast<const char*>(bytes), kFieldSize};
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word == "-" ? std::string() : word);
    }
    return words;
}

// The stored bytes of a UTF-8 data word: the Spanish vowels keep their
// Latin-1 values and ñ becomes the Czech ň (0xF2).
std::string StoredBytes(const std::string& utf8) {
    static const std::array<std::pair<std::string_view, char>, 7> kLetters = {{{"á", '\xE1'},
                                                                               {"é", '\xE9'},
                                                                               {"í", '\xED'},
                                                                               {"ó", '\xF3'},
                                                                               {"ú", '\xFA'},
                                                                               {"ü", '\xFC'},
                                                                               {"ñ", '\xF2'}}};
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto letter = std::find_if(kLetters.begin(), kLetters.end(), [&](const auto& l) {
            return std::string_view(utf8).substr(i).starts_with(l.first);
        });
        if (letter == kLetters.end()) {
            bytes.push_back(utf8[i++]);
        } else {
            bytes.push_back(letter->second);
            i += letter->first.size();
        }
    }
    return bytes;
}

// Checks a record, all 32 fields, against the blank-separated expected forms
// (UTF-8, "-" for an empty field), through StoredField and the raw image.
void ExpectRecord(int record, const std::string& expected) {
    const auto words = Words(expected);
    ASSERT_EQ(words.size(), std::size_t(kFieldCount));
    for (int field = 0; field < kFieldCount; ++field) {
        const std::string form = StoredBytes(words[field]);
        EXPECT_EQ(StoredField(record, field), form) << "record " << record << " field " << field;
        std::string raw(kFieldSize, '\0');
        raw[0] = static_cast<char>(form.size());
        raw.replace(1, form.size(), form);
        EXPECT_EQ(RawField(record, field), raw) << "record " << record << " field " << field;
    }
}

TEST(VerbTable, ImageSize) {
    EXPECT_EQ(IrregularVerbTable.size(), 212u * 832u);
}

TEST(VerbTable, PrintedRecordsByteForByte) {
    ExpectRecord(kAbastecer,
                 "abastecer abastecido abasteciendo "
                 "abastece abastezca abastezcamos abasteced abastezcan "
                 "abastecí abasteciste abasteció abastecimos abastecisteis abastecieron "
                 "abastezco abasteces abastece abastecemos abastecéis abastecen "
                 "abasteceré abastecerás abastecerá abasteceremos abasteceréis abastecerán "
                 "abastecería abastecerías abastecería abasteceríamos abasteceríais "
                 "abastecerían");
    ExpectRecord(kHaber,
                 "haber habido habiendo - - - - - "
                 "hube hubiste hubo hubimos hubisteis hubieron "
                 "he has ha hemos habéis han "
                 "habré habrás habrá habremos habréis habrán "
                 "habría habrías habría habríamos habríais habrían");
    ExpectRecord(kIr,
                 "ir ido yendo ve vaya vayamos id vayan "
                 "fui fuiste fue fuimos fuisteis fueron "
                 "voy vas va vamos vais van "
                 "iré irás irá iremos iréis irán "
                 "iría irías iría iríamos iríais irían");
    ExpectRecord(kRenir,
                 "reñir reñido riñendo riñe riña riñamos reñid riñan "
                 "reñí reñiste riñó reñimos reñisteis riñeron "
                 "riño riñes riñe reñimos reñís riñen "
                 "reñiré reñirás reñirá reñiremos reñiréis reñirán "
                 "reñiría reñirías reñiría reñiríamos reñiríais reñirían");
}

TEST(VerbTable, StoredFieldOutsideTheTableIsEmpty) {
    EXPECT_EQ(StoredField(-1, 0), "");
    EXPECT_EQ(StoredField(kVerbCount, 0), "");
    EXPECT_EQ(StoredField(0, kFieldCount), "");
}

bool AllowedByte(unsigned char b) {
    static const std::string_view kAccented = "\xE1\xE9\xED\xF3\xFA\xFC\xF2";
    return (b >= 'a' && b <= 'z') || kAccented.find(static_cast<char>(b)) != std::string_view::npos;
}

TEST(VerbTable, EveryFieldIsWellFormed) {
    for (int record = 0; record < kVerbCount; ++record) {
        for (int field = 0; field < kFieldCount; ++field) {
            const std::string_view raw = RawField(record, field);
            const auto length = static_cast<unsigned char>(raw[0]);
            SCOPED_TRACE("record " + std::to_string(record + 1) + " field " +
                         std::to_string(field));
            EXPECT_LE(length, 16);
            const bool haberImperative =
                record == kHaber && field >= kFieldImperative && field < kFieldPreterite;
            EXPECT_EQ(length == 0, haberImperative);
            for (std::size_t i = 1; i < raw.size(); ++i) {
                const auto b = static_cast<unsigned char>(raw[i]);
                if (i <= length) {
                    EXPECT_TRUE(AllowedByte(b)) << "byte " << int(b);
                } else {
                    EXPECT_EQ(b, 0) << "padding byte " << i;
                }
            }
        }
    }
}

// The infinitives in record order, as a learner reads them.
constexpr std::string_view kInfinitives =
    "abastecer abducir aborrecer abrir absolver acertar acostar acrecentar actuar adolecer "
    "adormecer adquirir agradecer alentar almorzar amanecer amoblar andar anochecer anontecer "
    "aparecer apetecer apostar asentar asir atender atraer atravesar aunar aventar avergonzar "
    "averiguar bendecir caber caer carecer cerrar cocer coger colar colgar comenzar compadecer "
    "conducir conocer consolar construir contar continuar convalecer costar crecer cruzar cubrir "
    "dar decir decrecer deducir demostrar derretir desaparecer descender descollar desfallecer "
    "desmentir destruir desvestir detener devolver dirigir discernir disolver disponer distingir "
    "dormir elegir empezar encender encontrar enloquecer enmendar entender enviar erguir errar "
    "escribir esforzar establecer estar fallecer florecer forzar fregar freir gobernar haber "
    "hacer huir humedecer impedir incluir inducir influir introducir invertir ir jugar leer lucir "
    "maldecir manifestar mantener mentir merecer moler morder morir mostrar mover mullir nacer "
    "negar obedecer obscurecer ofrecer oir oler oponer padecer pagar parecer pedir pensar perder "
    "perecer permanecer perseguir pertenecer placer poblar poder poner poseer posponer preferir "
    "prevenir prever probar producir prohibir promover proponer querer recomendar reconocer "
    "recordar recostar reducir reir remendar remorder remover reñir renovar repetir reponer "
    "reprobar reproducir requerir resolver retener retorcer reunir reventar revolver roer rogar "
    "romper saber sacar salir satisfacer seducir seguir sembrar sentir ser sofreir soltar sonar "
    "soñar sonreir sugerir suponer suscribir tañer temblar tender tener tostar traducir traer "
    "transferir valer vencer venir ver vestir volar volcar volver yacer";

TEST(VerbTable, InfinitivesAreTheListedOnesInOrder) {
    const auto expected = Words(std::string(kInfinitives));
    ASSERT_EQ(expected.size(), std::size_t(kVerbCount));
    std::set<std::string_view> seen;
    for (int record = 0; record < kVerbCount; ++record) {
        EXPECT_EQ(ToDisplayText(StoredField(record, kFieldInfinitive)), expected[record])
            << "record " << record + 1;
        EXPECT_TRUE(seen.insert(StoredField(record, kFieldInfinitive)).second);
    }
}

using WholeTable = EngineTest;

// Every verb gives every form the window asks for, non-empty except haber's
// imperative, and every stored verb is recognised as such.
TEST_F(WholeTable, EveryVerbConjugates) {
    std::string output;
    for (int record = 0; record < kVerbCount; ++record) {
        const std::string verb(StoredField(record, kFieldInfinitive));
        SCOPED_TRACE(ToDisplayText(verb));
        ASSERT_EQ(IsInfinitive(verb), 1);
        ASSERT_EQ(IsRegularVerb(verb), 0);
        auto check = [&](int kind, int person) {
            const int result = ConjugateForm(verb, kind, person, output);
            EXPECT_TRUE(result == 0 || result == 1);
            const bool mayBeEmpty = record == kHaber && kind == kImperative;
            EXPECT_EQ(output.empty(), mayBeEmpty) << kind << '/' << person;
        };
        check(kParticiple, 0);
        check(kGerund, 0);
        for (int person = 2; person <= 6; ++person) {
            check(kImperative, person);
        }
        for (int kind :
             {kConditional, kPreterite, kPresentPerfect, kPresent, kProgressive, kFuture}) {
            for (int person = 1; person <= 6; ++person) {
                check(kind, person);
            }
        }
    }
}

}  // namespace
}  // namespace vervia::test
