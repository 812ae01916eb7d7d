// Pointers and lifetimes of what scripts hold.

// A nil where an object is expected is a script error, not a null pointer
// handed to the engine: SWIG's default lets nil through as NULL for pointer
// arguments, self included, so bind.Vector.Mag(nil) or v:ToFloatArray(nil)
// would dereference null. Overloads therefore never pick a pointer form for
// nil either.
%typemap(in, checkfn="lua_isuserdata") SWIGTYPE *, SWIGTYPE []
%{ if (!SWIG_IsOK(SWIG_ConvertPtr(L, $input, (void**)&$1, $descriptor, $disown)) || !$1) {
     SWIG_fail_ptr("$symname", $argnum, $descriptor);
   } %}

%typecheck(SWIG_TYPECHECK_POINTER) SWIGTYPE *, SWIGTYPE [] {
  void* ptr;
  $1 = lua_isuserdata(L, $input) &&
       !SWIG_ConvertPtr(L, $input, (void**)&ptr, $1_descriptor, SWIG_POINTER_NO_NULL);
}

// A borrowed pointer or reference that a method or attribute returns usually
// points into the object it was read from (q.v, obj.trans, m:DataPtr()). When
// that object is owned by Lua, the collector could free it while the script
// still holds the borrowed part, which would then point at freed memory. So
// every borrowed result keeps the value it was read from (argument 1, when
// that is a full userdata) alive for as long as the result lives, through the
// result's environment table. Objects the engine owns stay borrowed: keeping
// their userdata alive never keeps the engine object itself alive.
%header %{
static void quell_keep_source_alive(lua_State* L) {
    int result = lua_gettop(L);
    if (result < 2 || !lua_isuserdata(L, result) || lua_islightuserdata(L, 1) ||
        !lua_isuserdata(L, 1)) {
        return;
    }
    lua_createtable(L, 1, 0);
    lua_pushvalue(L, 1);
    lua_rawseti(L, -2, 1);
    lua_setfenv(L, result);
}
%}

%typemap(out) SWIGTYPE *, SWIGTYPE &
%{ SWIG_NewPointerObj(L, $1, $descriptor, $owner);
   if (!$owner) quell_keep_source_alive(L);
   SWIG_arg++; %}

// Attributes that scripts read as copies: the getter hands Lua an owned copy
// instead of a pointer into the object, so the copy outlives the object and
// writes to it never reach the object. The member's type must be a class of
// the module (or a %template), so that the collector can free the copy.
%define %quell_read_as_copy(CLASS, MEMBER)
%typemap(out) SWIGTYPE *CLASS::MEMBER
%{ {
    $*1_ltype* copy = new $*1_ltype(*$1);
    SWIG_NewPointerObj(L, copy, $descriptor, 1);
  }
  SWIG_arg++; %}
%enddef

// A nil where a C string is expected would reach the engine as a null
// pointer (a file name read with std::string(nullptr)): refuse it. Numbers
// are still accepted, as Lua converts them.
%typemap(in, checkfn="lua_isstring") const char*
%{ $1 = ($ltype)lua_tostring(L, $input); %}
%typecheck(SWIG_TYPECHECK_STRING) const char* {
  $1 = lua_isstring(L, $input);
}
