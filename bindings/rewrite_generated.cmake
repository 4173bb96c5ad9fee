# Rewrites the generator's output so that no Lua value reaches the program
# through an undefined conversion: cmake -DIN=raw.cpp -DOUT=out.cpp -P this.
#
#   (T) tolua_tonumber(...)        -> (T) binding::toNumber<T>(...)
#       every number-to-number cast; integers wrap through 64 bits
#   tolua_index = (int)tolua_tonumber(...) -> binding::toIndex(...)
#       array indices saturate, so a huge index cannot wrap into range
#   tolua_tocppstring(...)         -> binding::toCppString(...)
#       nil or a non-string gives "", never std::string(nullptr)
#   const char* x = ((const char*) tolua_tostring(...)) -> binding::Text x = binding::toText(...)
#       a null text (nil) never becomes a std::string or std::string_view
#   the self of a member getter or setter -> binding::memberSelf(...)
#       an object of another class, or a const one given to a setter, is an
#       invalid self rather than memory read or written as the wrong type
#   tolua_cclass(tolua_S,"Name","Type",...) -> binding::checkForgets<Type>(); ...
#       a bound class of the object model that does not forget its objects
#       when destroyed stops the build (binding_support.h)
#
# A cast form this script does not know stops the build rather than slip
# through unconverted.
file(READ "${IN}" text)
string(REPLACE "tolua_index = (int)tolua_tonumber(" "tolua_index = binding::toIndex(" text "${text}")
string(REGEX REPLACE "\\(([A-Za-z_][A-Za-z0-9_: ]*)\\)[ ]*tolua_tonumber\\("
       "(\\1) binding::toNumber<\\1>(" text "${text}")
string(REPLACE "tolua_tocppstring(" "binding::toCppString(" text "${text}")
string(REGEX REPLACE "const char\\* ([A-Za-z_][A-Za-z0-9_]*) = \\(\\(const char\\*\\)  tolua_tostring\\("
       "const binding::Text \\1 = (binding::toText(" text "${text}")
set(accessor "static int tolua_(get|set)_[A-Za-z0-9_]+\\(lua_State\\* tolua_S\\)\n{\n  ")
set(raw_self "([^\n*]+)\\* self = \\([^\n*]+\\*\\)  tolua_tousertype\\(tolua_S,1,0\\);")
string(REGEX REPLACE "(static int tolua_get_[A-Za-z0-9_]+\\(lua_State\\* tolua_S\\)\n{\n  )${raw_self}"
       "\\1\\2* self = (\\2*) binding::memberSelf(tolua_S, \"const \\2\");" text "${text}")
string(REGEX REPLACE "(static int tolua_set_[A-Za-z0-9_]+\\(lua_State\\* tolua_S\\)\n{\n  )${raw_self}"
       "\\1\\2* self = (\\2*) binding::memberSelf(tolua_S, \"\\2\");" text "${text}")
string(REGEX REPLACE "tolua_cclass\\(tolua_S,(\"[^\"]*\"),\"([^\"]+)\""
       "binding::checkForgets<\\2>(); tolua_cclass(tolua_S,\\1,\"\\2\"" text "${text}")
if(text MATCHES "${accessor}[^\n]*tolua_tousertype\\(tolua_S,1,0\\)")
  message(FATAL_ERROR "rewrite_generated: unchecked member self in ${IN}: ${CMAKE_MATCH_0}")
endif()
if(text MATCHES "\\)[ ]*tolua_to(field)?number\\(")
  message(FATAL_ERROR "rewrite_generated: unconverted number cast in ${IN}: ${CMAKE_MATCH_0}")
endif()
if(text MATCHES "tolua_tostring\\(")
  message(FATAL_ERROR "rewrite_generated: unconverted text parameter in ${IN}: ${CMAKE_MATCH_0}")
endif()
if(text MATCHES "tolua_tofield")
  message(FATAL_ERROR "rewrite_generated: array parameters are not supported (${IN})")
endif()
file(WRITE "${OUT}.tmp" "${text}")
file(RENAME "${OUT}.tmp" "${OUT}")
