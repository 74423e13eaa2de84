#include "db/unit_of_work.h"

#include "db/database_session.h"

namespace kelvarn {

UnitOfWork::UnitOfWork(DatabaseSession& session) : session_(session), joined_(session.inTransaction()) {
    if (!joined_)
        session_.beginTransaction();
}

UnitOfWork::~UnitOfWork() {
    if (!done_ && !joined_)
        session_.rollback();
}

void UnitOfWork::commit() {
    if (done_)
        return;
    done_ = true;
    if (!joined_)
        session_.commit();
}

} // namespace kelvarn
