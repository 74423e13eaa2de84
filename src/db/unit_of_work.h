#pragma once

namespace kelvarn {

class DatabaseSession;

// Writes that must stand or fall together. The first unit on a session begins the
// transaction and owns it: commit() ends it, and leaving the scope without commit
// (an exception unwinding, a refused step) rolls everything back. A unit created
// while a transaction is already open joins it: its commit is left to the owner,
// and a failure inside it reaches the owner as the exception that unwinds it, so
// nested operations compose into the outer unit without knowing about it.
class UnitOfWork {
  public:
    explicit UnitOfWork(DatabaseSession& session);
    ~UnitOfWork();
    UnitOfWork(const UnitOfWork&) = delete;
    UnitOfWork& operator=(const UnitOfWork&) = delete;

    // Commits an own transaction (throws DbError when the database refuses, after
    // rolling back); a joined unit only marks itself done.
    void commit();
    bool joined() const { return joined_; }

  private:
    DatabaseSession& session_;
    bool joined_ = false;
    bool done_ = false;
};

} // namespace kelvarn
