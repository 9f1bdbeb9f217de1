#include "SystemError.h"

#include <cerrno>

namespace mz {

std::string SystemErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "Nie ma takiego pliku ani katalogu";
    case EACCES:
        return "Brak dostępu";
    case EPERM:
        return "Operacja niedozwolona";
    case EROFS:
        return "System plików tylko do odczytu";
    case ENOSPC:
        return "Brak miejsca na urządzeniu";
#ifdef EDQUOT
    case EDQUOT:
        return "Przekroczono przydział miejsca na dysku";
#endif
    case EISDIR:
        return "To jest katalog";
    case ENOTDIR:
        return "To nie jest katalog";
    case EEXIST:
        return "Plik już istnieje";
    case ENAMETOOLONG:
        return "Za długa nazwa pliku";
    case EIO:
        return "Błąd wejścia/wyjścia";
    case EBUSY:
        return "Urządzenie lub zasób jest zajęty";
    case EMFILE:
    case ENFILE:
        return "Za dużo otwartych plików";
    case ELOOP:
        return "Za dużo poziomów dowiązań symbolicznych";
    case EXDEV:
        return "Nie można przenieść pliku między systemami plików";
    case EFBIG:
        return "Plik jest za duży";
    case ENOMEM:
        return "Za mało pamięci";
    case EINVAL:
        return "Niepoprawny argument";
    case ETXTBSY:
        return "Plik jest w użyciu";
    case ENOTEMPTY:
        return "Katalog nie jest pusty";
    default:
        return std::generic_category().message(errorNumber);
    }
}

std::string SystemErrorText(const std::error_code& error)
{
    // On POSIX systems the system category holds errno values too.
    bool errnoValue = error.category() == std::generic_category();
#ifndef _WIN32
    errnoValue = errnoValue || error.category() == std::system_category();
#endif
    if (errnoValue)
        return SystemErrorText(error.value());
    return error.message();
}

} // namespace mz
