// The ledger of handles the program holds, counted by kind.
#include <map>

#include "machine/control.h"
#include "machine/machine.h"
#include "machine_parts.h"

namespace machine {
namespace {
std::map<std::string, int64_t>& Ledger() {
    static std::map<std::string, int64_t> ledger;
    return ledger;
}
}  // namespace

void NoteObjectCreated(const char* kind) { ++Ledger()[kind]; }
void NoteObjectReleased(const char* kind) { --Ledger()[kind]; }

namespace detail {
void ResetObjectLedger() { Ledger().clear(); }
std::vector<std::pair<std::string, int64_t>> LedgerEntries() { return {Ledger().begin(), Ledger().end()}; }
}  // namespace detail

namespace control {
int64_t LiveObjects(const std::string& kind) {
    auto found = Ledger().find(kind);
    return found == Ledger().end() ? 0 : found->second;
}
}  // namespace control
}  // namespace machine
