// The script module "bind": everything Lua scripts can reach in the engine.
// SWIG turns this file and the per-subsystem files it includes into the Lua
// wrapper at build time (cmake/Bind.cmake). Each subsystem declares its
// classes in its own .i file and adds one %include line at the end.
//
// The declarations in the .i files are the script-visible API, written by
// hand on purpose: they list only what scripts may use, while the real
// headers (included into the wrapper between %{ %}) give the compiler the
// true signatures, so drift between the two fails the build.
//
// Ownership: objects made by bind.X(...) and results returned by value are
// owned by Lua and freed by its collector; pointers and references returned
// by the engine (Instance, GetGameObject, attributes of class type) are
// borrowed and never freed by Lua. Attributes that a subsystem marks with
// %quell_read_as_copy return an owned copy instead.
//
// Threads: the wrappers run on the thread that runs the script, under the
// LuaManager's lock; they take no lock of their own.
%module bind

%include <std_string.i>
%include <std_vector.i>

%include "errors.i"
%include "ownership.i"
%include "module.i"

%include "geom.i"
%include "events.i"
%include "resources.i"
%include "objects.i"
%include "world.i"
%include "loading.i"
%include "collision.i"
