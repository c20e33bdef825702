#include "brindelor/tariff/compute.h"

#include "brindelor/tariff/currency.h"
#include "brindelor/tariff/errors.h"
#include "brindelor/tariff/number_text.h"

#include <limits>
#include <string>

namespace brindelor {

namespace {

// Currency subtraction traps like the x87 store it was done with.
Currency subtract(Currency p, Currency q)
{
    constexpr std::int64_t lo = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int64_t>::max();
    if ((q.count < 0 && p.count > hi + q.count) || (q.count > 0 && p.count < lo + q.count))
        throw FloatInvalidError();
    return Currency{p.count - q.count};
}

} // namespace

void computeTariffs(TariffIO& io, float tauxModif1, float tauxModif2, const Separators& seps)
{
    static const Extended k10000 = Extended::fromInt64(10000);
    static const Extended k100 = Extended::fromInt64(100);
    const std::string_view dec = seps.decimal;

    // The base as a count of ten-thousandths.
    Currency b = Currency::roundFrom(io.readBase() * k10000);
    // The total rate, summed in extended, kept in single precision.
    const float t = (Extended::fromFloat(tauxModif1) + Extended::fromFloat(tauxModif2)).toFloat();
    const Extended rate = Extended::fromFloat(t);
    // The increase, rounded to a count on its own.
    const Currency a = Currency::roundFrom((b.toExtended() * rate) / k100);
    // The 2013 tariff.
    Currency c = Currency::roundFrom(b.toExtended() + a.toExtended());
    // The rate text and the 2013 tariff.
    io.writeField(ResultField::Taux, generalText(displayRound(rate), dec) + "%");
    io.writeField(ResultField::Valeur13, generalText(displayRound(c.toExtended() / k10000), dec));
    // The compounded 2014 tariff: the increase is not rounded on its own here.
    c = Currency::roundFrom((c.toExtended() * rate) / k100 + c.toExtended());
    // The compounded 2014 tariff as shown.
    const std::string valeur14 = generalText(displayRound(c.toExtended() / k10000), dec);
    io.writeField(ResultField::Valeur14, valeur14);
    // The linear 2014 tariff: the 2013 increase added twice to the base, read anew.
    b = Currency::roundFrom(io.readBase() * k10000);
    const Currency j = Currency::roundFrom(b.toExtended() + a.toExtended() + a.toExtended());
    // The linear 2014 tariff as shown.
    const std::string valeur14JO = generalText(displayRound(j.toExtended() / k10000), dec);
    io.writeField(ResultField::Valeur14JO, valeur14JO);
    // The difference of the two 2014 tariffs as shown, not of c and j.
    const Currency p = parseFixedPoint(valeur14, dec);
    const Currency q = parseFixedPoint(valeur14JO, dec);
    io.writeField(ResultField::Delta, fixedPointText(subtract(p, q), dec));
}

} // namespace brindelor
