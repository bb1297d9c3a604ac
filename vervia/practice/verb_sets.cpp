#include "vervia/practice/verb_sets.h"

#include <algorithm>
#include <array>

#include "vervia/engine/conjugator.h"
#include "vervia/engine/irregular_verb_table.h"
#include "vervia/engine/text_encoding.h"

namespace vervia::practice {
namespace {

// The first 100 infinitives of a Spanish word-frequency list taken from film
// subtitles (OpenSubtitles 2024, as packaged in @zxcvbn-ts/language-es-es
// 4.1.2), in rank order; nouns that only look like infinitives (lugar, mujer)
// and one vulgar verb were left out.
constexpr std::array<std::string_view, 100> kFrequentVerbs{
    "ser",      "hacer",     "ver",       "decir",    "estar",     "hablar",    "tener",
    "haber",    "saber",     "salir",     "volver",   "pasar",     "venir",     "poder",
    "dejar",    "encontrar", "llegar",    "tomar",    "entrar",    "pensar",    "trabajar",
    "morir",    "vivir",     "dar",       "comer",    "seguir",    "creer",     "matar",
    "ayudar",   "esperar",   "dormir",    "llamar",   "conseguir", "buscar",    "llevar",
    "empezar",  "usar",      "jugar",     "poner",    "perder",    "cambiar",   "ganar",
    "sentir",   "pagar",     "comprar",   "terminar", "escuchar",  "salvar",    "mantener",
    "regresar", "entender",  "conocer",   "sacar",    "oír",       "beber",     "confiar",
    "cenar",    "mirar",     "pedir",     "parar",    "leer",      "parecer",   "evitar",
    "escribir", "abrir",     "aprender",  "contar",   "quedar",    "tocar",     "escapar",
    "probar",   "traer",     "bailar",    "tratar",   "intentar",  "correr",    "partir",
    "acabar",   "recordar",  "pesar",     "pelear",   "preguntar", "subir",     "luchar",
    "volar",    "caer",      "averiguar", "proteger", "arreglar",  "caminar",   "bajar",
    "querer",   "llorar",    "vender",    "recibir",  "obtener",   "necesitar", "aceptar",
    "cuidar",   "actuar",
};

bool IsSeparator(char c) {
    return c == ',' || c == ';' || c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

std::vector<std::string> IrregularVerbSet() {
    std::vector<std::string> verbs;
    verbs.reserve(kVerbCount);
    for (int record = 0; record < kVerbCount; ++record) {
        verbs.push_back(ToDisplayText(StoredField(record, kFieldInfinitive)));
    }
    return verbs;
}

std::vector<std::string> FrequentVerbSet() {
    return {kFrequentVerbs.begin(), kFrequentVerbs.end()};
}

std::string NormalizeVerb(std::string_view typed) {
    std::string engine = ToEngineText(typed);
    const auto first = engine.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    engine = engine.substr(first, engine.find_last_not_of(" \t") - first + 1);
    std::transform(engine.begin(), engine.end(), engine.begin(), FoldLetter);
    return ToDisplayText(engine);
}

TypedVerbs ParseVerbList(std::string_view text) {
    TypedVerbs result;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (IsSeparator(text[pos])) {
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && !IsSeparator(text[end])) {
            ++end;
        }
        const std::string_view word = text.substr(pos, end - pos);
        pos = end;
        if (IsInfinitive(ToEngineText(word)) == 0) {
            result.rejected.emplace_back(word);
            continue;
        }
        std::string verb = NormalizeVerb(word);
        if (std::find(result.verbs.begin(), result.verbs.end(), verb) == result.verbs.end()) {
            result.verbs.push_back(std::move(verb));
        }
    }
    return result;
}

}  // namespace vervia::practice
