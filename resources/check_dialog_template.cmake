# cmake -DRES=<qodex.res> -P check_dialog_template.cmake
# Compares the dialog template that windres made with the template as it
# must be, written out here field by field.

set(bytes "")
function(put_byte value)
    math(EXPR v "${value} & 0xFF" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${v}" 2 -1 v)
    string(LENGTH "${v}" n)
    if(n LESS 2)
        set(v "0${v}")
    endif()
    string(TOLOWER "${v}" v)
    set(bytes "${bytes}${v}" PARENT_SCOPE)
endfunction()
macro(put_word value)
    put_byte("${value}")
    put_byte("(${value}) >> 8")
endmacro()
macro(put_dword value)
    put_word("(${value}) & 0xFFFF")
    put_word("((${value}) >> 16) & 0xFFFF")
endmacro()
macro(put_text text)  # UTF-16LE with its terminating zero
    string(LENGTH "${text}" _len)
    if(_len GREATER 0)
        math(EXPR _last "${_len} - 1")
        foreach(_i RANGE ${_last})
            string(SUBSTRING "${text}" ${_i} 1 _c)
            string(HEX "${_c}" _h)
            put_byte("0x${_h}")
            put_byte(0)
        endforeach()
    endif()
    put_word(0)
endmacro()
macro(align_dword)
    string(LENGTH "${bytes}" _n)
    math(EXPR _rest "(${_n} / 2) % 4")
    if(NOT _rest EQUAL 0)
        math(EXPR _pad "4 - ${_rest}")
        foreach(_i RANGE 1 ${_pad})
            put_byte(0)
        endforeach()
    endif()
endmacro()
macro(put_control class id text x y cx cy style exstyle)
    align_dword()
    put_dword(0)          # help id
    put_dword(${exstyle})
    put_dword(${style})
    put_word(${x})
    put_word(${y})
    put_word(${cx})
    put_word(${cy})
    put_dword(${id})
    put_word(0xFFFF)      # predefined class by ordinal
    put_word(${class})
    put_text("${text}")
    put_word(0)           # no creation data
endmacro()

# DLGTEMPLATEEX
put_word(1)               # version
put_word(0xFFFF)          # signature
put_dword(0)              # help id
put_dword(0x00000080)     # WS_EX_TOOLWINDOW
put_dword(0x80C808C0)     # WS_POPUP|WS_CAPTION|WS_SYSMENU|DS_CENTER|DS_MODALFRAME|DS_SETFONT
put_word(6)               # controls
put_word(0)
put_word(0)
put_word(239)
put_word(83)
put_word(0)               # no menu
put_word(0)               # the system's dialog class
put_text("Qodex decoder - https://varnholt.example")
put_word(8)               # points
put_word(0)               # weight
put_byte(0)               # not italic
put_byte(1)               # DEFAULT_CHARSET
put_text("Courier New")

set(BUTTON 0x0080)
set(EDIT 0x0081)
set(STATIC 0x0082)
put_control(${STATIC} 0xFFFFFFFF "Error Code :"       12  8  49 11 0x50020000 0)
put_control(${EDIT}   101        ""                   69  6  44 13 0x50812080 0x00020001)
put_control(${BUTTON} 1          "Decode"             128 6  44 13 0x50010001 0x00000200)
put_control(${BUTTON} 2          "Cancel"             186 6  44 13 0x50010000 0x00000200)
put_control(${BUTTON} 0xFFFFFFFF "Error Description"  7   27 226 49 0x50000007 0)
put_control(${EDIT}   102        ""                   14  40 212 29 0x50810804 0)

# The .res file: an empty first entry, then one entry per resource. Each
# header starts with the data size and the header size.
file(READ "${RES}" res HEX)
function(dword_at hex offset out)
    math(EXPR p "${offset} * 2")
    set(v 0)
    foreach(i 3 2 1 0)
        math(EXPR q "${p} + ${i} * 2")
        string(SUBSTRING "${hex}" ${q} 2 b)
        math(EXPR v "(${v} << 8) | 0x${b}")
    endforeach()
    set(${out} ${v} PARENT_SCOPE)
endfunction()

set(offset 32)
dword_at("${res}" ${offset} data_size)
math(EXPR header_at "${offset} + 4")
dword_at("${res}" ${header_at} header_size)
# Type RT_DIALOG (0xFFFF 0x0005), then the name.
math(EXPR type_at "${offset} + 8")
math(EXPR type_hex_at "${type_at} * 2")
string(SUBSTRING "${res}" ${type_hex_at} 8 type)
string(HEX "QODEXDECODER" name_hex)
math(EXPR name_hex_at "(${type_at} + 4) * 2")
string(SUBSTRING "${res}" ${name_hex_at} 48 name)
string(REGEX REPLACE "(..)" "\\100" name_expected "${name_hex}")
# The name is padded to a DWORD; the language follows the data version
# and the memory flags.
math(EXPR language_at "(${type_at} + 4 + 26 + 2 + 4 + 2) * 2")
string(SUBSTRING "${res}" ${language_at} 4 language)

math(EXPR data_hex_at "(${offset} + ${header_size}) * 2")
math(EXPR data_hex_size "${data_size} * 2")
string(SUBSTRING "${res}" ${data_hex_at} ${data_hex_size} template)

set(failed FALSE)
if(NOT type STREQUAL "ffff0500")
    message(SEND_ERROR "resource type ${type}, not RT_DIALOG")
    set(failed TRUE)
endif()
if(NOT name STREQUAL name_expected)
    message(SEND_ERROR "resource name ${name}, not QODEXDECODER")
    set(failed TRUE)
endif()
if(NOT language STREQUAL "0904")
    message(SEND_ERROR "language ${language}, not 1033 (0904)")
    set(failed TRUE)
endif()
if(NOT template STREQUAL bytes)
    message(SEND_ERROR "dialog template differs:\n got      ${template}\n expected ${bytes}")
    set(failed TRUE)
endif()
if(failed)
    message(FATAL_ERROR "the dialog template QODEXDECODER is not as it must be")
endif()
string(LENGTH "${bytes}" n)
math(EXPR n "${n} / 2")
message(STATUS "QODEXDECODER: ${n} bytes, as they must be")
