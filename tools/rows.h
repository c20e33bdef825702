#pragma once
// One row of the companion: "BASE;MOD1;MOD2" in, the five texts and the
// message out, as the window would show them.

#include "brindelor/tariff/separators.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace brindelor::tools {

// The rate of a modifier option by its caption; "" is "effacer" too.
std::optional<float> modifierRate(std::string_view caption);

struct RowResult {
    std::array<std::string, 5> fields; // unwritten ones stay empty
    std::string message;               // the error's text, "" on success
};

// Why a row is refused, in French; empty when the row is well formed.
struct RowError {
    std::string reason;
};

// Runs one row (without its line end). On a malformed row returns false and
// fills error; otherwise fills result.
bool runRow(std::string_view row, const Separators& seps, RowResult& result, RowError& error);

// Appends "TAUX;VALEUR_13;VALEUR_14;VALEUR_14_JO;DELTA;MESSAGE\n".
void appendRow(std::string& out, const RowResult& result);

} // namespace brindelor::tools
