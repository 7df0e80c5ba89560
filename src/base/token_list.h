// The token list: one line per token byte, with its operands and its meaning. Plain
// macros only, so the board firmware's C compiler reads the same list as the PC tools.
// Every 16-bit operand is big-endian; a16 is an address in program memory (image
// offset + 4), b an operand byte.
#ifndef ZARVEK_BASE_TOKEN_LIST_H
#define ZARVEK_BASE_TOKEN_LIST_H

// X(byte, NAME, operands)  -- operands: None, Byte, Word (a16 or 16-bit constant),
// ByteWord (b then a16), Text (zero-terminated inline text)
#define ZARVEK_TOKENS(X)                                                                          \
  X(0x01, CLRSTACK, None)     /* zero all 64 data stack cells, count unchanged              */ \
  X(0x02, PAUSE, None)        /* pop n; sleep n x 20 ms                                      */ \
  X(0x03, GOTO, Word)         /* pc := a16                                                   */ \
  X(0x04, JUMPF, Word)        /* pop c; c = 0 and no error: pc := a16                        */ \
  X(0x05, GOSUB, Word)        /* push pc on the call stack; no error: pc := a16              */ \
  X(0x06, RETURN, None)       /* pop the call stack; no error: pc := popped                  */ \
  X(0x07, RETI, None)         /* pc := interrupt 0's saved pc; leave its service             */ \
  X(0x0A, PINREAD, Byte)      /* pin direction := 0; push ReadPin                            */ \
  X(0x0B, PORTREAD, Byte)     /* port directions := 0; push ReadPort                         */ \
  X(0x0C, WPORTREAD, Byte)    /* directions of ports 2w, 2w+1 := 0; push ReadWordPort        */ \
  X(0x0D, PINWRITE, Byte)     /* pop v; drive the pin to v <> 0                              */ \
  X(0x0E, PORTWRITE, Byte)    /* pop v; drive the port to the low byte of v                  */ \
  X(0x0F, WPORTWRITE, Byte)   /* pop v; drive word port w to the low 16 bits of v            */ \
  X(0x10, ADREAD, Byte)       /* r := ReadAD; push r; push r shr 2                           */ \
  X(0x11, DAWRITE, Byte)      /* pop v; WriteDA                                              */ \
  X(0x14, PUSHW, Word)        /* push the constant, zero-extended                            */ \
  X(0x15, LBITREAD, Byte)     /* push -1/0 for a bit of the local frame                      */ \
  X(0x16, LBYTEREAD, Byte)    /* push a byte of the local frame                              */ \
  X(0x17, LWORDREAD, Byte)    /* push the word at byte 2 x index of the local frame          */ \
  X(0x18, LBITWRITE, Byte)    /* pop v; local bit := v <> 0                                  */ \
  X(0x19, LBYTEWRITE, Byte)   /* pop v; local byte := low byte of v                          */ \
  X(0x1A, LWORDWRITE, Byte)   /* pop v; local word := low 16 bits of v                       */ \
  X(0x1B, TABLEREAD, Word)    /* pop i; push the word at program memory a16 + 2 x i          */ \
  X(0x1C, SYSREAD, Byte)      /* push a system variable                                      */ \
  X(0x1D, SYSWRITE, Byte)     /* pop v; set a system variable                                */ \
  X(0x1E, PRINTNUM, None)     /* pop v; print the low 16 bits as signed decimal              */ \
  X(0x1F, PRINTSTR, Text)     /* print the inline zero-terminated text                       */ \
  X(0x20, PUTCHAR, None)      /* pop v; print the character v mod 256                        */ \
  X(0x21, RXREADY, None)      /* push -1 when a received character waits                     */ \
  X(0x22, GETCHAR, None)      /* push the oldest received character, or wait for one         */ \
  X(0x23, INPUTNUM, None)     /* push a number from a received line, or wait for one         */ \
  X(0x28, NOT, None)          /* pop a; push NOT a (32 bits)                                 */ \
  X(0x29, AND, None)          /* pop b, pop a; push a AND b (32 bits)                        */ \
  X(0x2A, NAND, None)         /* push NOT (a AND b)                                          */ \
  X(0x2B, OR, None)           /* push a OR b                                                 */ \
  X(0x2C, NOR, None)          /* push NOT (a OR b)                                           */ \
  X(0x2D, XOR, None)          /* push a XOR b                                                */ \
  X(0x2E, SHL, None)          /* pop n, pop a; push a shl (n mod 32)                         */ \
  X(0x2F, SHR, None)          /* pop n, pop a; push a shr (n mod 32), logical                */ \
  X(0x30, RANDSEED, None)     /* pop v; seed := v                                            */ \
  X(0x31, RAND, None)         /* push the next random number 0 .. 2147483646                 */ \
  X(0x32, NEG, None)          /* pop a (16-bit); push -a                                     */ \
  X(0x33, ADD, None)          /* pop b, pop a (16-bit); push a + b (32 bits)                 */ \
  X(0x34, SUB, None)          /* push a - b                                                  */ \
  X(0x35, MUL, None)          /* push a x b                                                  */ \
  X(0x36, DIV, None)          /* push a / b toward zero; 0 when b's low 16 bits are 0        */ \
  X(0x37, MOD, None)          /* push a mod b (sign of a); 0 when b's low 16 bits are 0      */ \
  X(0x38, ABS, None)          /* pop a (16-bit); push |a|                                    */ \
  X(0x39, SQR, None)          /* pop a (16-bit); push round(sqrt a), 0 for negative a        */ \
  X(0x3A, MAX, None)          /* pop b, pop a (16-bit); push the larger                      */ \
  X(0x3B, MIN, None)          /* push the smaller                                            */ \
  X(0x3C, GT, None)           /* pop b, pop a (16-bit); push -1 if a > b else 0              */ \
  X(0x3D, GE, None)           /* a >= b                                                      */ \
  X(0x3E, LT, None)           /* a < b                                                       */ \
  X(0x3F, LE, None)           /* a <= b                                                      */ \
  X(0x40, EQ, None)           /* a = b                                                       */ \
  X(0x41, NE, None)           /* a <> b                                                      */ \
  X(0x42, ISNEG, None)        /* pop a (16-bit); push -1 if a < 0 else 0                     */ \
  X(0x46, FILEOP, Byte)       /* data file: 1 read, 2 write, 3 append, 4 close, 5 put, 6 get */ \
  X(0x47, EOF_, None)         /* push -1 when the file position reached the file size        */ \
  X(0x48, SETBAUD, Byte)      /* baud rate from its code; SetBaud                            */ \
  X(0x49, SETHANDLER, ByteWord) /* kind 0/1 interrupt, 254 exception, 255 critical handler   */ \
  X(0x50, PINTOGGLE, Byte)    /* drive the pin to the inverse of its latch                   */ \
  X(0x51, PINPULSE, Byte)     /* toggle the pin and toggle it back                           */ \
  X(0x52, DEACTPIN, Byte)     /* DeactPin                                                    */ \
  X(0x53, DEACTPORT, Byte)    /* DeactPort                                                   */ \
  X(0x54, DEACTWPORT, Byte)   /* DeactPort (2w), DeactPort (2w + 1)                          */ \
  X(0x56, DUP, None)          /* pop v; push v twice                                         */ \
  X(0x57, DROP, None)         /* pop and discard                                             */ \
  X(0x58, SWAP, None)         /* the two top cells change places                             */ \
  X(0x59, XCHG, Byte)         /* the top cell and the cell at depth n + 1 change places      */ \
  X(0x5A, PUSHB, Byte)        /* push the byte, zero-extended                                */ \
  X(0x5B, MBITREAD, Byte)     /* pop bit number; push -1/0 for that bit of the space         */ \
  X(0x5C, MBYTEREAD, Byte)    /* pop offset; push the byte                                   */ \
  X(0x5D, MWORDREAD, Byte)    /* pop index; push the word at byte 2 x index                  */ \
  X(0x5E, MBITWRITE, Byte)    /* pop bit number, pop v; bit := v <> 0                        */ \
  X(0x5F, MBYTEWRITE, Byte)   /* pop offset, pop v; byte := low byte of v                    */ \
  X(0x60, MWORDWRITE, Byte)   /* pop index, pop v; word := low 16 bits of v                  */ \
  X(0x69, CALLF, Word)        /* as GOSUB, then enter a new local frame                      */ \
  X(0x6A, RETF, None)         /* as RETURN, then leave the local frame                       */ \
  X(0xFF, END, None)          /* pc := 4; the machine suspends itself                        */

#endif
