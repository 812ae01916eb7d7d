// Every wrapped call runs inside this handler: a C++ exception thrown by the
// engine (a missing event parameter, a bad cast, a missing object) becomes a
// Lua error carrying its text and the script position. Without it the
// exception would unwind through Lua's C frames and abort the process.
// The jump to "fail" leaves the handler normally, so the exception object is
// released before SWIG raises the Lua error.
%{
#include <exception>
%}

%define %quell_catch_engine_exceptions
    try {
        $action
    } catch (const std::exception& e) {
        SWIG_Lua_pushferrstring(L, "Error in $symname: %s", e.what());
        SWIG_fail;
    } catch (...) {
        SWIG_Lua_pushferrstring(L, "Error in $symname: unknown C++ exception");
        SWIG_fail;
    }
%enddef

%exception {
%quell_catch_engine_exceptions
}
