// The Payload block, assembled straight from the archive file the build
// made (PAYLOAD_ZIP_PATH), so no multi-megabyte source is generated or
// compiled; the assembler counts the length. This file holds nothing else:
// the assembly switches to the constants section and the compiler must not
// place code after it.
#define PAYLOAD_TEXT_(x) #x
#define PAYLOAD_TEXT(x) PAYLOAD_TEXT_(x)
#define PAYLOAD_SYMBOL PAYLOAD_TEXT(__USER_LABEL_PREFIX__) "Payload"

__asm__(
    "  .section .rdata, \"dr\"\n"
    "  .globl " PAYLOAD_SYMBOL "\n"
    "  .balign 4\n"
    PAYLOAD_SYMBOL ":\n"
    "  .long 1\n"
    "  .long 2f - 1f\n"
    "1:\n"
    "  .incbin \"" PAYLOAD_ZIP_PATH "\"\n"
    "2:\n");
