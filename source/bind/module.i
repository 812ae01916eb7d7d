// The manager base. A subsystem that exposes its manager adds
//     %template(Module_X) Module<X>;
// before declaring class X : public Module<X>; scripts then reach the
// singleton as bind.Module_X_Instance() (a borrowed pointer) and run the
// manager's own Init, Update, Kill and ProcessEvent through the base.
%{
#include "module.h"
%}

class Event;

%nodefaultctor Module;
%nodefaultdtor Module;
template <class T>
class Module {
public:
    virtual void Init() = 0;
    virtual void Update() = 0;
    virtual void Kill() = 0;
    virtual void ProcessEvent(const Event& e);
    static T* Instance();
};
