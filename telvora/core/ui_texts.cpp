#include "telvora/core/ui_texts.h"

#include <algorithm>
#include <iterator>

namespace telvora {
namespace {

struct TextRow {
    int number;
    const char* czech;
    const char* english;
};

// The string table. Spelling and punctuation are the program's own and are
// kept exactly, including the slips users already know from it.
constexpr TextRow kTexts[] = {
    {1, "E&xit", "E&xit"},
    {2, "&Konfigurace", "&Configuration"},
    {3, "Tl&f. seznam", "&Phonebook"},
    {4, "&Otevřít ...", "&Open ..."},
    {5, "&Uložit jako ...", "&Save as ..."},
    {6, "&Nahrát do tlf.", "&Upload to phone"},
    {7, "Řadit dle abecedy", "Sort by name"},
    {8, "Řadit dle paměti", "Sort by memory"},
    {9, "&Zprávy", "&Messages"},
    {10, "Uložit &jako ...", "&Save as ..."},
    {11, "&Melodie", "&Ring tone"},
    {12, "O &aplikaci", "&About"},
    {13, "&Načti seznam", "&Read Phonebook"},
    {14, "Telefonní číslo", "Phone number"},
    {15, "Vytočit", "Dial"},
    {16, "Zavěsit", "Hang up"},
    {17, "Zavěsí nebo odmítne hovor", "Hang up or cancel incoming call"},
    {18, "Text zprávy", "Message"},
    {19, "&Vymazat", "&Delete"},
    {20, "&Odeslat zprávu", "&Send message"},
    {21, "Povolit zprávy delší než 160 znaků", "Allow mesg. longer than 160 chars"},
    {22, "Telefonní seznam", "Phonebook"},
    {23, "Zbývá", "Remaining"},
    {24, "znaků.", "chars."},
    {25, "Počet zpráv", "Num of messages"},
    {26, "Načti &SMS", "Download &SMS"},
    {27, "Po načtení zprávy smazat", "Delete mesg. after download"},
    {28, "Načítám ...", "Downloading ..."},
    {29, "Telefon", "Phone"},
    {30, "Zprávy", "Mesg"},
    {31, "Čas", "Time"},
    {32, "Po načtení vymaže SMS z telefonu", "Delete messages from phone after download"},
    {33, "DoubleClickem odpovíte na zprávu", "For reply to messages you can use doubleClick"},
    {34, "Připojeno ...", "Connect ..."},
    {35, "NEPŘIPOJENO !!!", "DISCONNECT !!!"},
    {36, "Telefon musí být připojen. Přejete si nastavit konfiguraci portu?",
     "Phone must be connected. Do you wish set COM port?"},
    {37,
     "Port, který jste nastavily zřejmě neexistuje. Změňte prosím port. Aplikaci spustťe "
     "znovu.",
     "Port isn't existing. Please change COM port and launch application again."},
    {38, "Musíte nejdříve připojit telefon !", "Phone must be connected."},
    {39, "Odesílám", "Sending"},
    {40, "Zpráva byla úspěšně odeslána. Přejete si psát novou zprávu (původní bude smazána).",
     "Your message was successfuly send. Do you wish write a new message(old will be delete) ?"},
    {41,
     "Zpráva nebyla odeslána. Zkontrolujte telefonní číslo. Nebo je chyba na straně operátora "
     "GSM.",
     "Your message wasn't send. Wrong number or network error. Please try again."},
    {42, "Uložit zprávy SMS jako ...", "Save messages as ..."},
    {43, "Uložit telef. seznam jako ...", "Save phonebook as ..."},
    {44, "Vytáčím ...", "Dialing ..."},
    {45, "Nastala chyba při vytáčení nebo není zavěšeno", "Dialing error or phone isn't hang up."},
    {46, "Odkud chcete seznam nahrát?", "What phonebook download?"},
    {47, "Ze &SIM", "From &SIM"},
    {48, "Z &telefonu", "From &memory"},
    {49, "Načítání telefonního seznamu bude chvíli trvat, prosím o strpení.",
     "Downloading phonebook take a few time, please wait."},
    {50, "Není žádný záznam telefonního čísla.", "No numbers."},
    {51, "Jméno", "Name"},
    {52, "Telefonní číslo", "Phone number"},
    {53, "Melodie", "Ring Tone"},
    {54, "Nahrát do tlf.", "Upload"},
    {55, "Nepovolené znaky v textu melodie číslo", "Invalid chars in ring tone number"},
    {56, "Nelze použít dva znaky(#,+) za sebou v textu melodie číslo",
     "You can't use 2 chars(#,+) subsequently in ring tone number"},
    {57, "Nová melodie číslo", "New ring tone number"},
    {58, "byla nahrána do telefonu.", "was uploaded to the phone."},
    {59, "Lze vkládat pouze tyto znaky p,#,b,B,+,c,d,e,f,g,a,h,C,D,E,F,G,A,H",
     "You can use only these chars: p,#,b,B,+,c,d,e,f,g,a,h,C,D,E,F,G,A,H"},
    {60, "Max. délka melodie je 120 znaků.", "Max. lenght of ring tone is 120 chars."},
    {61, "Telefon zřejmě neumí používat vlastní melodie nebo zkuste znovu.",
     "Phone unsupported own ring tone or try again."},
    {62, "&Nahoru", "&Up"},
    {63, "Posune jméno nahoru", "Move name up"},
    {64, "&Dolů", "&Down"},
    {65, "Posune jméno dolů", "Move name down"},
    {66, "&Smazat", "D&elete"},
    {67, "Smazat &vše", "Delete &All"},
    {68, "Nahrát na SI&M", "Upload to SI&M"},
    {69, "Nahrát do tl&f.", "Upload to &phone"},
    {70, "Seřadit podle:", "Sort by:"},
    {71, "abecedy", "alphabetical order"},
    {72, "pozice v paměti", "memory position"},
    {73,
     "Nahrávání telefonního seznamu bude chvíli trvat (celý seznam 1-2 min.), prosím o "
     "strpení.",
     "Uploading phone book take a several minute(1-2), please wait."},
    {74, "Všechna stará data budou přehrána, přejete si pokračovat?",
     "All data will be modified, do you wish continue?"},
    {75, "Nahrávám", "Uploading"},
    {76, "Telefon neodpovídá zkotrolujte, zda je připojen.",
     "Phone not answered, please control, that is connected."},
    {77, "Telefon je nutno restartovat do té doby nebude možno odesílat SMS.",
     "Phone must be restarted! "},
    {78, "Na COM portu, který jste nastavily je zřejmě připojen modem. Změňte prosím port.",
     "COM port is allready using by another device. Please change COM port."},
    {79, "COM port je již používán. Prosím vypněte aplikaci, která port blokuje.",
     "COM port is allready in use. Please close application, that using this port."},
    {80, "Telefon neodpověděl včas. Zkontrolujte, zda je připojen, a zkuste to znovu.",
     "The phone did not answer in time. Check that it is connected and try again."},
    {81, "Telefon ohlásil chybu (kód %1).", "The phone reported an error (code %1)."},
    {82, "Jiný příkaz ještě běží. Počkejte prosím, až skončí.",
     "Another command is still running. Please wait until it ends."},
    {83, "Telefon ohlásil chybu.", "The phone reported an error."},
    // The shell: a second start, settings that cannot be saved.
    {84, "Telvora již běží. Přepněte se prosím do jejího okna.",
     "Telvora is already running. Please switch to its window."},
    {85, "Nastavení nelze uložit do %1. Zvolené hodnoty platí jen do ukončení programu.",
     "The settings cannot be saved to %1. The choice holds only until the program ends."},
    // The shell: cancelling a command, the demo phone.
    {86, "Příkaz byl zrušen.", "The command was cancelled."},
    {87, "&Zrušit", "&Cancel"},
    {88, "Připojeno – demo telefon", "Connected – demo phone"},
    {89,
     "Běží demo telefon, nic se nedostane do skutečné sítě. Skutečný telefon zvolíte v menu "
     "Konfigurace.",
     "This is the demo phone; nothing reaches a real network. Choose a real phone under "
     "Configuration."},
    {90, "(Jen simulováno: demo telefon nic neodesílá ani nevytáčí.)",
     "(Only simulated: the demo phone sends and dials nothing.)"},
    // The configuration window's labels.
    {91, "&Port:", "COM &port:"},
    {92, "&Jazyk:", "&Language:"},
    // Short messages: refused input, results of sending, downloading and saving.
    {100,
     "Číslo příjemce smí obsahovat jen číslice (nejvýše 20), mezery, úvodní + a znaky - / ( ). "
     "Nic nebylo odesláno.",
     "The recipient's number may hold only digits (at most 20), blanks, a leading + and the "
     "signs - / ( ). Nothing was sent."},
    {101, "Text se nevejde do jedné zprávy. Povolte delší zprávy. Nic nebylo odesláno.",
     "The text does not fit in one message. Allow longer messages. Nothing was sent."},
    {102, "Text se nevejde do 10 zpráv. Nic nebylo odesláno.",
     "The text does not fit in 10 messages. Nothing was sent."},
    {103, "Zpráva byla odeslána.", "The message was sent."},
    {104, "Některé zprávy se nepodařilo v telefonu smazat; zůstaly v něm.",
     "Some messages could not be deleted from the phone; they are still there."},
    {105, "Soubor %1 nelze zapsat.", "The file %1 cannot be written."},
    {106, "Text zprávy je prázdný. Nic nebylo odesláno.",
     "The message text is empty. Nothing was sent."},
    {107, "Zprávy z úložiště %1 se nepodařilo přečíst (%2). Seznam není úplný.",
     "The messages of the store %1 could not be read (%2). The list is not complete."},
    {108, "paměť telefonu (ME)", "phone memory (ME)"},
    {109, "SIM karta (SM)", "SIM card (SM)"},
    {110, "neúplné", "incomplete"},
    {111, "Stahování zpráv bylo zrušeno. Přečteno zpráv: %1. Nic dalšího nebylo smazáno.",
     "The download was cancelled. Messages read: %1. Nothing more was deleted."},
    // Any text: characters replaced, the counter, long messages in parts, the CSV file.
    {116, "Bez &diakritiky", "&Without diacritics"},
    {117, "Odeslat přesto?", "Send anyway?"},
    {118, "Soubor %1 již existuje. Ano: připojit zprávy na jeho konec. Ne: soubor nahradit.",
     "The file %1 already exists. Yes: add the messages at its end. No: replace the file."},
    {119, "Tyto znaky nelze odeslat bez diakritiky a budou nahrazeny znakem ?: %1",
     "These characters cannot be sent without diacritics and become ?: %1"},
    {120, "znak", "char."},
    {121, "znaky", "chars."},
    {122, "znaků", "chars."},
    {123, "zpráva", "message"},
    {124, "zprávy", "messages"},
    {125, "zpráv", "messages"},
    {126, "GSM", "GSM"},
    {127, "Unicode", "Unicode"},
    {128, "Odesláno částí zprávy: %1 z %2. Část %3 telefon nepřijal, další části nebyly odeslány.",
     "Parts of the message sent: %1 of %2. The phone did not accept part %3; the later parts "
     "were not sent."},
    {129,
     "Text se nevejde do jedné zprávy (potřebuje jich %1); dlouhý text odešlete s volbou "
     "--long. Nic nebylo odesláno.",
     "The text takes %1 messages; send a long text with --long. Nothing was sent."},
    // Phone book: files, reading and upload.
    {130, "Soubor %1 nelze zapsat. Nic nebylo změněno.",
     "The file %1 cannot be written. Nothing was changed."},
    {131, "Soubor %1 nelze otevřít. Seznam zůstal beze změny.",
     "The file %1 cannot be opened. The list was not changed."},
    {132, "Řádků bez tří polí (číslo, jméno, pozice) bylo vynecháno: %1.",
     "Lines without three fields (number, name, position) skipped: %1."},
    {133, "Uvozovky ve jménech a číslech byly nahrazeny apostrofem.",
     "Double quotes in names and numbers were replaced by an apostrophe."},
    {134, "Telefon neoznámil délku jmen a čísel. Nic nebylo zapsáno.",
     "The phone did not report the length of names and numbers. Nothing was written."},
    {135, "Tyto pozice se nepodařilo zapsat: %1.", "These positions could not be written: %1."},
    {136, "Telefon tuto paměť telefonního seznamu nemá nebo ji nelze použít.",
     "The phone does not have this phonebook memory, or it cannot be used."},
    {137, "Čtení telefonního seznamu se nezdařilo. Předchozí seznam zůstal zachován.",
     "Reading the phonebook failed. The previous phonebook was kept."},
    {138, "Paměť má jen %1 pozic, další záznamy nebyly zapsány.",
     "The memory has only %1 positions; further entries were not written."},
    {139, "Zapsáno záznamů: %1.", "Entries written: %1."},
    // Phone book: names and numbers over the phone's limits, erased positions.
    {160,
     "Tato jména jsou delší, než telefon dovolí (%1 znaků): %2\nZkrátit je? (Ne: nic nebude "
     "zapsáno, jména můžete upravit.)",
     "These names are longer than the phone allows (%1 characters): %2\nCut them? (No: nothing "
     "is written, and you can edit the names.)"},
    {161,
     "Tato jména jsou delší, než telefon dovolí (%1 znaků): %2. Nic nebylo zapsáno; zkraťte je "
     "nebo použijte --cut.",
     "These names are longer than the phone allows (%1 characters): %2. Nothing was written; "
     "shorten them or use --cut."},
    {162, "Tato čísla jsou delší, než telefon dovolí (%1 znaků): %2. Nic nebylo zapsáno.",
     "These numbers are longer than the phone allows (%1 characters): %2. Nothing was written."},
    {163, "Vymazáno pozic: %1.", "Positions erased: %1."},
    {164, "&Přidat", "Ne&w entry"},
    {165, "V souboru %1 není žádný čitelný záznam. Nic nebylo zapsáno.",
     "No entry of the file %1 could be read. Nothing was written."},
    // Calls and ring tones from the command line.
    {170, "Telefonní číslo smí obsahovat jen číslice, na začátku případně +.",
     "A phone number may hold digits only, with an optional leading +."},
    {171, "Zavěšeno.", "Hung up."},
    {172, "Číslo melodie musí být 1 až 4.", "The ring tone number must be 1 to 4."},
    // News from the phone: an incoming call.
    {189, "Hovor odmítnut.", "Call rejected."},
    {190, "Příchozí hovor", "Incoming call"},
    {191, "Volá %1", "%1 is calling"},
    {192, "&Přijmout", "&Answer"},
    {193, "&Odmítnout", "&Reject"},
    {194, "neznámé číslo", "unknown number"},
    {195, "Zmeškaný hovor: %1", "Missed call: %1"},
    {196, "Hovor přijat: %1", "Call answered: %1"},
    {197, "Hovor se nepodařilo přijmout.", "The call could not be answered."},
    {198, "Hovor se nepodařilo odmítnout.", "The call could not be rejected."},
    {199, "Telefon neumí ukázat číslo volajícího.", "The phone cannot show the caller's number."},
    // The message archive.
    {200, "Archiv zpráv %1 nelze otevřít ani vytvořit.",
     "The message archive %1 cannot be opened or created."},
    {201, "Archiv zpráv %1 je poškozený.", "The message archive %1 is damaged."},
    {202, "Archiv zpráv %1 právě používá jiný program.",
     "The message archive %1 is held by another program."},
    {203, "Archiv zpráv %1 pochází z novější verze programu.",
     "The message archive %1 comes from a newer version of the program."},
    {204,
     "Zprávy zůstaly v telefonu: smazat je lze jen po uložení do archivu zpráv, a to se "
     "nepodařilo. %1",
     "The messages were left on the phone: they are deleted only once the message archive "
     "holds them, and it could not store them. %1"},
    {205, "&Archiv zpráv ...", "Message &archive ..."},
    {206, "Archiv zpráv", "Message archive"},
    {207, "&Hledat:", "Fin&d:"},
    {208, "&Kontakt:", "&Contact:"},
    {209, "Všechny kontakty", "All contacts"},
    {210, "&Odpovědět", "&Reply"},
    {211, "Kon&verzace", "Con&versation"},
    {212, "přijatá", "received"},
    {213, "odeslaná", "sent"},
    // News from the phone: a new message.
    {220, "Nová zpráva od %1.", "New message from %1."},
    {221, "Novou zprávu (%1, pozice %2) se nepodařilo přečíst.",
     "The new message (%1, position %2) could not be read."},
    {222, "Telefon neumí ohlásit nové zprávy.", "The phone cannot announce new messages."},
    {223, "Čekám na zprávy a hovory (ukončí Ctrl+C) ...",
     "Waiting for messages and calls (Ctrl+C ends) ..."},
};

// UiText looks rows up by number, so the numbers must rise.
constexpr bool RowsInOrder() {
    for (size_t i = 1; i < std::size(kTexts); ++i) {
        if (kTexts[i].number <= kTexts[i - 1].number) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInOrder(), "text rows must be in rising order of their numbers");

}  // namespace

QString UiText(Language language, int n) {
    const auto* row =
        std::lower_bound(std::begin(kTexts), std::end(kTexts), n,
                         [](const TextRow& r, int number) { return r.number < number; });
    if (row == std::end(kTexts) || row->number != n) {
        return {};
    }
    return QString::fromUtf8(language == Language::English ? row->english : row->czech);
}

QString UiTextById(int id) {
    const int language = id / 1000;
    if (language != 1 && language != 2) {
        return {};
    }
    return UiText(static_cast<Language>(language), id % 1000);
}

Language LanguageFromNumber(int value) {
    return value == 2 ? Language::English : Language::Czech;
}

}  // namespace telvora
