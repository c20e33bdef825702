#include "rows.h"

#include "brindelor/form/calc_edit.h"
#include "brindelor/form/modifiers.h"

#include "brindelor/tariff/compute.h"
#include "brindelor/tariff/entry_rules.h"

#include <exception>

namespace brindelor::tools {

namespace {

// The entry as the computation reads it: its text, parsed anew each time.
class RowIO final : public TariffIO {
public:
    RowIO(std::string_view entryText, const Separators& seps, RowResult& result)
        : text_(entryText), seps_(seps), result_(result)
    {
    }
    // The text cannot change between the two reads of a run: parse it once.
    Extended readBase() override
    {
        if (!read_) {
            value_ = entryRead(text_, seps_);
            read_ = true;
        }
        return value_;
    }
    void writeField(ResultField field, std::string_view text) override
    {
        result_.fields[static_cast<std::size_t>(field)].assign(text);
    }

private:
    std::string_view text_;
    const Separators& seps_;
    bool read_ = false;
    Extended value_;
    RowResult& result_;
};

// A short, printable rendering of a faulty field for the error message.
std::string quoted(std::string_view s)
{
    constexpr std::size_t kMax = 40;
    std::string out = "\xC2\xAB";
    for (std::size_t i = 0; i < s.size() && i < kMax; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    if (s.size() > kMax)
        out += "\xE2\x80\xA6";
    out += "\xC2\xBB";
    return out;
}

} // namespace

std::optional<float> modifierRate(std::string_view caption)
{
    if (caption.empty())
        return form::modifier(form::ModifierIndex::Effacer).rate;
    return form::modifierRate(caption);
}

bool runRow(std::string_view row, const Separators& seps, RowResult& result, RowError& error)
{
    std::string_view fields[3];
    std::size_t count = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semi = row.find(';', start);
        const std::string_view field =
            row.substr(start, semi == std::string_view::npos ? std::string_view::npos : semi - start);
        if (count == 3) {
            error.reason = "trop de champs (3 au plus : BASE;MOD1;MOD2)";
            return false;
        }
        fields[count++] = field;
        if (semi == std::string_view::npos)
            break;
        start = semi + 1;
    }
    const auto rate1 = modifierRate(fields[1]);
    const auto rate2 = modifierRate(fields[2]);
    if (!rate1 || !rate2) {
        error.reason = "modificateur inconnu " + quoted(!rate1 ? fields[1] : fields[2])
            + " (O, 9, I, X, K, effacer ou vide)";
        return false;
    }

    for (auto& f : result.fields)
        f.clear();
    result.message.clear();
    try {
        // Leaving the entry rewrites its text in its format; a text beyond
        // the extended range stays as typed and fails in the computation.
        const std::string entryText = form::formattedOnLeaving(fields[0], seps).value_or(std::string(fields[0]));
        RowIO io(entryText, seps, result);
        computeTariffs(io, *rate1, *rate2, seps);
    } catch (const std::exception& e) {
        result.message = e.what();
    }
    return true;
}

void appendRow(std::string& out, const RowResult& result)
{
    for (const auto& f : result.fields) {
        out += f;
        out += ';';
    }
    out += result.message;
    out += '\n';
}

} // namespace brindelor::tools
