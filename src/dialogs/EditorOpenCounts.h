#pragma once
// How many of each editor dialog are open. A profile switch is refused while a
// key-assignment dialog is open, and the profile manager's list follows a
// switch only while the manager is open.
namespace orvane {

int CompositeOpenCount();
int ProfileManagerOpenCount();

// Counts one dialog as open for the scope's lifetime.
class CCompositeOpenScope {
  public:
    CCompositeOpenScope();
    ~CCompositeOpenScope();
    CCompositeOpenScope(const CCompositeOpenScope&) = delete;
    CCompositeOpenScope& operator=(const CCompositeOpenScope&) = delete;
};

class CProfileManagerOpenScope {
  public:
    CProfileManagerOpenScope();
    ~CProfileManagerOpenScope();
    CProfileManagerOpenScope(const CProfileManagerOpenScope&) = delete;
    CProfileManagerOpenScope& operator=(const CProfileManagerOpenScope&) = delete;
};

} // namespace orvane
