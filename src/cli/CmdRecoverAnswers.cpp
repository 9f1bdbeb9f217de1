#include "CliDocuments.h"
#include "Command.h"

#include "composer/AnswerRecovery.h"
#include "core/FileNames.h"
#include "database/DB.h"
#include "documents/CrossSolution.h"

#include <iostream>

namespace {

using mz::cli::EUsage;

// Takes the answers away, recovers them and compares: how well the recovery
// does on crosswords whose answers are known.
void Verify(const std::vector<std::string>& files, const mz::TDB& db)
{
    int32_t whole = 0;
    int32_t answers = 0;
    int32_t recovered = 0;
    int32_t wrong = 0;
    for (const std::string& file : files) {
        mz::TCrossTXT original = mz::cli::LoadDocument(file);
        if (!mz::TSolutionGrid(original).Complete())
            throw mz::EMirakolnikError("Krzyżówka " + file + " nie ma kompletu odpowiedzi do porównania");
        mz::TCrossTXT stripped = original;
        for (int32_t n = 1; n <= stripped.ExplCount(); ++n) {
            mz::TExpl expl = stripped.GetExpl(n);
            expl.Answer.clear();
            stripped.SetExpl(n, expl);
        }
        const mz::TRecoveryResult result = mz::RecoverAnswers(stripped, db);
        int32_t mistakes = 0;
        for (int32_t n = 1; n <= stripped.ExplCount(); ++n) {
            const std::string& answer = stripped.GetExpl(n).Answer;
            mistakes += !answer.empty() && answer != original.GetExpl(n).Answer ? 1 : 0;
        }
        whole += result.Whole() && mistakes == 0 ? 1 : 0;
        answers += result.Explanations;
        recovered += result.Recovered;
        wrong += mistakes;
        std::cout << mz::FileNamePart(file) << ": odtworzono " << result.Recovered << " z " << result.Explanations
                  << ", nieznanych " << result.Unknown << ", błędnych " << mistakes << "\n";
    }
    std::cout << "Całe: " << whole << " z " << files.size() << " krzyżówek; odpowiedzi odtworzone: " << recovered
              << " z " << answers << "; błędne: " << wrong << "\n";
}

int Run(const mz::cli::Args& args)
{
    std::string database;
    std::string out;
    bool verify = false;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--verify") {
            verify = true;
        } else if (a == "--db" || a == "--out") {
            if (i + 1 >= args.size())
                throw EUsage{"Brak wartości dla " + a};
            (a == "--db" ? database : out) = args[++i];
        } else if (a.starts_with("--")) {
            throw EUsage{"Nieznana opcja: " + a};
        } else {
            files.push_back(a);
        }
    }
    if (database.empty() || files.empty())
        throw EUsage{"Podaj --db i plik krzyżówki"};
    if (verify && !out.empty())
        throw EUsage{"--verify niczego nie zapisuje; pomiń --out"};
    if (!verify && files.size() != 1)
        throw EUsage{"Podaj jeden plik krzyżówki (wiele plików tylko z --verify)"};
    if (!out.empty() && mz::ExtensionOf(out) != "krz")
        throw EUsage{"Plik wynikowy musi mieć rozszerzenie krz: " + out};

    mz::TDB db;
    db.Load(database);
    if (verify) {
        Verify(files, db);
        return 0;
    }
    mz::TCrossTXT doc = mz::cli::LoadDocument(files[0]);
    const mz::TRecoveryResult result = mz::RecoverAnswers(doc, db);
    if (!out.empty()) {
        doc.Kind = 0;
        doc.SaveToFile(out);
    }
    std::cout << "Odtworzono " << result.Recovered << " z " << result.Explanations
              << " odpowiedzi (znane wcześniej: " << result.Known << ", nadal nieznane: " << result.Unknown << ")\n";
    return 0;
}

mz::cli::TCommandRegistration reg{
    {"recover-answers", "recover-answers --db baza.hk PLIK [--out WYNIK.krz] | --db baza.hk --verify PLIK...",
     "odtwarza odpowiedzi krzyżówki z bazy haseł (niejednoznaczne zostają nieznane); --verify sprawdza "
     "odtwarzanie na krzyżówkach z odpowiedziami",
     &Run}};

} // namespace
