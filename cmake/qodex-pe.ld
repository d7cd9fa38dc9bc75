/* Section layout of Qodex.exe (and of the benchmark's floor programs, built
   the same way): three sections instead of the default six.

   Every section costs its header and, on average, half a file-alignment
   block of padding; up to three section headers fit in the first 512-byte
   block beside the DOS, PE and optional headers, a fourth needs another.

   .text   read, execute    code, constants, import tables
   .rsrc   read, write      resources, then the process-wide variables
   .reloc  read             base relocations (ASLR)

   Nothing is both writable and executable. The import address table sits
   in .text: the loader makes it writable while it binds the imports (as it
   does for the read-only .rdata of other linkers) and read-only again
   afterwards. ld names the resource and relocation data directories after
   the .rsrc and .reloc sections and points them at their starts, so the
   resource tree comes first in .rsrc; it must come from a single input
   object, since ld merges the trees of several inputs only when nothing
   else follows them. The variables are few and small.

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
  .rsrc BLOCK(__section_alignment__) :
  {
    KEEP (*(.rsrc))
    KEEP (*(SORT(.rsrc$*)))
    *(.data)
    *(SORT(.data$*))
    *(.bss)
    *(COMMON)
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
