#include "Register.h"

#include "core/Cp1250.h"

namespace mz {

std::string RegisterKey(TRegister reg)
{
    switch (reg) {
    case rgOrdinary:
        break;
    case rgCrude:
        return "wulgarne";
    case rgSexual:
        return "seksualne";
    case rgPejorative:
        return "pejoratywne";
    case rgInsult:
        return "obraźliwe";
    case rgDrugs:
        return "narkotyki";
    }
    return "zwykłe";
}

bool ParseRegister(std::string_view key, TRegister& reg)
{
    for (const TRegister candidate : Registers)
        if (key == RegisterKey(candidate)) {
            reg = candidate;
            return true;
        }
    return false;
}

TRegister RegisterOfRecord(std::string_view cp1250)
{
    TRegister reg = rgCrude;
    return ParseRegister(Cp1250ToUtf8(std::string(cp1250)), reg) ? reg : rgCrude;
}

} // namespace mz
