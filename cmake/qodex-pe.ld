/* Section layout of Qodex.exe (and of the benchmark's floor programs, built
   the same way): four sections instead of the default six, in the order of
   other linkers' images.

   .text   read, execute    code, constants, import tables
   .bss    read, write      the process-wide variables, zero-filled
   .rsrc   read             resources, nothing else
   .reloc  read             base relocations (ASLR)

   Every section with contents costs its header and, on average, half a
   file-alignment block of padding. .bss has no contents: the loader
   zero-fills it, so it costs its header alone (which takes the headers past
   the first 512-byte block, where three fit). The program's variables are
   defined ZERO_FILLED (platform/zero_filled.h), which puts them in .bss; a
   variable defined without it, zero or not, comes in a .data$ section of its
   own (-fdata-sections), which is placed nowhere, so the link fails.

   Nothing is both writable and executable. The import address table sits
   in .text: the loader makes it writable while it binds the imports (as it
   does for the read-only .rdata of other linkers) and read-only again
   afterwards. ld names the resource and relocation data directories after
   the .rsrc and .reloc sections and sizes them as the whole section, so
   .rsrc holds the resource tree and its data alone: a resource editor
   rewrites exactly that range. ld marks every section called .rsrc
   writable; qodex_release_link clears the flag after the link.

   Anything not placed here (constructors, TLS, unwind tables: things that a
   program without a runtime cannot use) fails the link through
   --orphan-handling=error. */
OUTPUT_FORMAT(pei-i386)
SECTIONS
{
  . = SIZEOF_HEADERS;
  . = ALIGN(__section_alignment__);
  .text __image_base__ + (__section_alignment__ < 0x1000 ? . : __section_alignment__) :
  {
    *(.text)
    *(SORT(.text$*))
    *(.text.*)
    *(.rdata)
    *(SORT(.rdata$*))
    /* GCC for Windows puts its constant pool, the values it copies whole
       structures from, in plain .data; nothing writes them. The program's
       own variables never come here: each has a section of its own. */
    *(.data)
    /* Import directory, lookup tables, address table, names. The SORT by
       file name keeps each library's head, entries and tail together.
       Without a section named .idata, ld fills the import and IAT data
       directories from the symbols .idata$2, $4, $5 and $6, taking their
       values as RVAs. */
    ".idata$2" = ABSOLUTE(. - __image_base__);
    KEEP (SORT(*)(.idata$2))
    KEEP (SORT(*)(.idata$3))
    LONG (0); LONG (0); LONG (0); LONG (0); LONG (0);
    ".idata$4" = ABSOLUTE(. - __image_base__);
    KEEP (SORT(*)(.idata$4))
    ".idata$5" = ABSOLUTE(. - __image_base__);
    KEEP (SORT(*)(.idata$5))
    ".idata$6" = ABSOLUTE(. - __image_base__);
    KEEP (SORT(*)(.idata$6))
    KEEP (SORT(*)(.idata$7))
  }
  .bss BLOCK(__section_alignment__) :
  {
    *(.bss)
    *(COMMON)
  }
  .rsrc BLOCK(__section_alignment__) :
  {
    KEEP (*(.rsrc))
    KEEP (*(SORT(.rsrc$*)))
  }
  .reloc BLOCK(__section_alignment__) :
  {
    *(.reloc)
  }
  /DISCARD/ :
  {
    *(.drectve)
    *(.note.GNU-stack)
    *(.gnu.lto_*)
    /* The compiler's version string, one copy per object. */
    *(.rdata$zzz)
  }
}
