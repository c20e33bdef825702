// brindelor-calc: reads rows "BASE;MOD1;MOD2" on standard input and prints,
// for each, the five texts the window would show and the error message.

#include "rows.h"
#include "system.h"

#include "brindelor/version.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

const char kUsage[] =
    "Usage : brindelor-calc [OPTION]...\n"
    "Lit des lignes BASE;MOD1;MOD2 sur l'entrée standard et écrit pour chacune\n"
    "TAUX;VALEUR_13;VALEUR_14;VALEUR_14_JO;DELTA;MESSAGE, les textes qu'afficherait\n"
    "la fenêtre de Brindelor.\n"
    "\n"
    "  BASE      le tarif de base, tel qu'on le taperait ou le collerait\n"
    "  MOD1/MOD2 O, 9, I, X, K, effacer, ou vide pour effacer\n"
    "\n"
    "Options :\n"
    "  --decimal-separator=S  séparateur décimal (par défaut celui de la locale)\n"
    "  --group-separator=S    séparateur des milliers (par défaut celui de la locale)\n"
    "                         l'un donné, l'autre pris à la locale cède s'ils sont\n"
    "                         égaux : une espace insécable le remplace\n"
    "  --help                 affiche cette aide\n"
    "  --version              affiche la version\n"
    "\n"
    "Reads rows BASE;MOD1;MOD2 from standard input and prints the window's five\n"
    "result texts and the error message for each. Exit status: 0, or 1 when a\n"
    "row was refused (reported on standard error), 2 on a bad option.\n";

// A separator must not be mistaken for a field, a line, a digit or a sign.
bool usableSeparator(std::string_view s)
{
    for (const char c : s) {
        if (c == ';' || c == '\n' || c == '\r' || (c >= '0' && c <= '9') || c == '+' || c == '-')
            return false;
    }
    return true;
}

class Output {
public:
    ~Output() { flush(); }
    std::string& buffer() { return buf_; }
    void maybeFlush()
    {
        if (buf_.size() >= (1u << 16))
            flush();
    }
    void flush()
    {
        if (!buf_.empty())
            std::fwrite(buf_.data(), 1, buf_.size(), stdout);
        buf_.clear();
    }

private:
    std::string buf_;
};

} // namespace

int main(int argc, char** argv)
{
    brindelor::tools::useBinaryStreams();
    const std::vector<std::string> args = brindelor::tools::arguments(argc, argv);
    brindelor::Separators seps;
    bool haveDecimal = false, haveGroup = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::puts("brindelor-calc " BRINDELOR_VERSION);
            return 0;
        }
        constexpr std::string_view kDec = "--decimal-separator=";
        constexpr std::string_view kGroup = "--group-separator=";
        if (arg.substr(0, kDec.size()) == kDec) {
            seps.decimal = arg.substr(kDec.size());
            haveDecimal = true;
        } else if (arg.substr(0, kGroup.size()) == kGroup) {
            seps.group = arg.substr(kGroup.size());
            haveGroup = true;
        } else {
            std::fprintf(stderr, "brindelor-calc : option inconnue « %s » (voir --help)\n", args[i].c_str());
            return 2;
        }
    }
    if (!haveDecimal || !haveGroup) {
        const brindelor::Separators locale = brindelor::tools::localeSeparators();
        if (!haveDecimal)
            seps.decimal = locale.decimal;
        if (!haveGroup)
            seps.group = locale.group;
        // The separator given on the command line wins; the locale's other
        // one gives way to a no-break space ("," for decimals in an English
        // locale, whose groups are ",").
        if (haveDecimal != haveGroup && seps.decimal == seps.group)
            (haveDecimal ? seps.group : seps.decimal) = "\u00A0";
    }
    if (seps.decimal.empty() || !usableSeparator(seps.decimal) || !usableSeparator(seps.group)
        || seps.decimal == seps.group) {
        std::fputs("brindelor-calc : séparateurs inutilisables (ni vides, ni égaux, ni chiffre,"
                   " signe, « ; » ou fin de ligne)\n",
                   stderr);
        return 2;
    }

    Output out;
    brindelor::tools::RowResult result;
    brindelor::tools::RowError error;
    bool refused = false;
    unsigned long long lineNo = 0;

    std::vector<char> chunk(1u << 16);
    std::string pending; // a line that spans reads
    auto handle = [&](std::string_view line) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (brindelor::tools::runRow(line, seps, result, error)) {
            brindelor::tools::appendRow(out.buffer(), result);
            out.maybeFlush();
        } else {
            refused = true;
            out.flush(); // keep both streams in row order when they share a terminal
            std::fprintf(stderr, "brindelor-calc : ligne %llu : %s\n", lineNo, error.reason.c_str());
        }
    };

    for (;;) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), stdin);
        if (n == 0)
            break;
        std::string_view data(chunk.data(), n);
        while (!data.empty()) {
            const std::size_t nl = data.find('\n');
            if (nl == std::string_view::npos) {
                pending.append(data);
                break;
            }
            if (pending.empty()) {
                handle(data.substr(0, nl));
            } else {
                pending.append(data.substr(0, nl));
                handle(pending);
                pending.clear();
            }
            data.remove_prefix(nl + 1);
        }
    }
    if (std::ferror(stdin)) {
        std::fputs("brindelor-calc : erreur de lecture de l'entrée standard\n", stderr);
        return 2;
    }
    if (!pending.empty())
        handle(pending);
    out.flush();
    if (std::fflush(stdout) != 0) {
        std::fputs("brindelor-calc : erreur d'écriture sur la sortie standard\n", stderr);
        return 2;
    }
    return refused ? 1 : 0;
}
