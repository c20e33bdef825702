#pragma once
// The compute command: from the base tariff and the two modifier rates to
// the five result texts.

#include "brindelor/tariff/extended.h"
#include "brindelor/tariff/separators.h"

#include <string_view>

namespace brindelor {

// The five result fields, in the order the computation writes them.
enum class ResultField { Taux, Valeur13, Valeur14, Valeur14JO, Delta };
inline constexpr int kResultFieldCount = 5;

// Where the computation gets the base tariff and puts its texts. The base is
// read twice per run, for the 2013 tariff and again for the linear 2014 one,
// as the window reads its entry twice.
class TariffIO {
public:
    virtual Extended readBase() = 0;
    virtual void writeField(ResultField field, std::string_view text) = 0;

protected:
    ~TariffIO() = default;
};

// One run. Each field is written as soon as its step produces it, so a
// failure (a TariffError) leaves the earlier fields written and the later
// ones untouched. Nothing is caught here.
void computeTariffs(TariffIO& io, float tauxModif1, float tauxModif2, const Separators& seps);

} // namespace brindelor
