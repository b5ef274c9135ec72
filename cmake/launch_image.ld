/*
 * The layout of LAUNCH.EXE: three sections, so that the DOS stub, the PE headers and the section
 * table fit in the first 512 bytes of the file.
 *
 *   .text   read and execute: the code, its constant texts, and the parts of the import table
 *           that Windows only reads: the lookup table and the names of libraries and operations
 *   .idata  read and write: the import descriptors, the address table that the loader fills in,
 *           and InstallPath (zero-initialised data gets no section of its own)
 *   .reloc  the base relocations, so that the image can be loaded at any address (ASLR)
 *
 * ld's PE back end finds the base relocation directory by the output section's name, .reloc. It
 * takes the import directory to run from the symbol ".idata$2" to the symbol ".idata$4", and the
 * import address table from ".idata$5" to ".idata$6"; their values are addresses relative to the
 * image base, as the directories hold them. The image check reads both directories back.
 */
SECTIONS
{
  /* The jump stubs of the import libraries: every call goes through the address table. ld would
     resolve a call to a discarded stub to a wrong address without a word, so check_objects.sh
     refuses, before the link, any object that names a stub. */
  /DISCARD/ : {
    *libkernel32.a:*(.text) *libadvapi32.a:*(.text) *libuser32.a:*(.text)
    *(.drectve) *(.note.GNU-stack) *(.gnu.lto_*)
  }

  . = SIZEOF_HEADERS;
  . = ALIGN(__section_alignment__);
  .text __image_base__ + __section_alignment__ :
  {
    *(.text) *(SORT(.text$*)) *(.text.*)
    *(.rdata) *(SORT(.rdata$*))
    KEEP (SORT(*)(.idata$4))  /* the lookup table */
    KEEP (SORT(*)(.idata$6))  /* the hints and names of the operations */
    KEEP (SORT(*)(.idata$7))  /* the names of the libraries */
  }

  .idata BLOCK(__section_alignment__) :
  {
    ".idata$2" = . - __image_base__;
    KEEP (SORT(*)(.idata$2))  /* one descriptor a library */
    KEEP (SORT(*)(.idata$3))
    LONG (0); LONG (0); LONG (0); LONG (0); LONG (0);  /* the descriptor that ends the list */
    ".idata$4" = . - __image_base__;
    ".idata$5" = . - __image_base__;
    KEEP (SORT(*)(.idata$5))  /* the address table */
    ".idata$6" = . - __image_base__;
    *(.data) *(SORT(.data$*))
    *(.bss) *(SORT(.bss$*)) *(COMMON)
  }

  .reloc BLOCK(__section_alignment__) :
  {
    *(.reloc)
  }
}
