* Tessel operating system: reads the token program from the serial EEPROM on port A and
* interprets it. One source for Tessel 1.1 and Tessel Micro; the build tool puts
* "MICRO EQU 0" or "MICRO EQU 1" in front of it and pads the lines marked "*@AT" so that
* the label after each marker lands on its fixed address.
*
* RAM map ($50-$FF; the BASIC variables are where the compiler puts them)
*   $50-$5F  DSH   data stack, high bytes (ring of 16 cells)
*   $60-$6F  DSL   data stack, low bytes
*   $70      DSP   index of the top cell
*   $71-$72  TPC   EEPROM address of the next token byte
*   $73-$78  T0-T5 work cells of the token routines
*   $79      CSP   call depth (0-5)
*   $7A-$88  call stack: return address high, low, data stack floor (5 each)
*   $89      FLAGS bit 0 parameter stores pop, bit 1 last token was JUMPF,
*                  bit 2 IRQ request waiting, bit 3 IRQ handler running
*   $8A      PFLAGS FLAGS as they were before the current token
*   $8B      TOK   current token
*   $8C-$8D  SEL   SELECT selector kept by the $1187 helper
*   $8E-$8F  TICK  20 ms ticks (TIMER)
*   $90-$91  PAUSE ticks still to wait
*   $92-$95  SEED  random generator state
*   $96-$9B  handler addresses: IRQ SUB, ERROR SUB, CRASH SUB (0 = none)
*   $9C      RXCNT characters in the receive buffer
*   $9D      RXIN  write index of the receive buffer
*   $9E-$A0  JMPV  "JMP addr" used to dispatch and to call machine code
*   $A1-$B8  BASIC variables, Tessel 1.1 (24 bytes)
*   $A1-$DE  BASIC variables, Tessel Micro (62 bytes; the function result is byte 23)
*   EXT+0..7   RXBUF receive buffer (8 characters)
*   EXT+8..9   TOKPC address of the current token (for error reports)
*   EXT+10     ERRNO last runtime error
*   EXT+11     I2CS  bus shift register
*   EXT+12..13 FILEPOS data file position (words); EXT+14 FILEMODE
*   EXT+15..22 calendar clock (Tessel 1.1 only): 20 ms count, second, minute, hour,
*              day, month, year (high, low)
*   EXT+23..24 the SELECT selector while the IRQ handler runs (Tessel 1.1 only)
*   EXT is $B9 on Tessel 1.1 and $DF on Micro.
*   Tessel 1.1: $D2-$DA are left to machine code, the processor stack uses $DB-$FF.
*   Micro: the processor stack uses $EE-$FF; no RAM is left to machine code.
*   Machine code called with token 08 may use A and X, must return with RTS and may push
*   at most 8 bytes on Micro (the system's interrupts need the rest).
*
* Data stack rules (the compiler's Tessel sequences rely on them):
*   - the stack is a ring of 16 cells: no overflow or underflow errors, old cells are
*     simply overwritten;
*   - statement-level consumers leave their value on top: stores, JUMPF, PRINTNUM,
*     PUTCHAR, PORTWRITE, PINWRITE, DAWRITE, PAUSE, SYSWRITE, RANDSEED;
*   - stores that directly follow a GOSUB (the parameter stores) pop their value;
*   - GOSUB records the stack index as the frame floor, every parameter store lowers it
*     by one; RETURN cuts the stack back to the floor and pushes the value that was on
*     top (a FUNCTION's result; for a SUB a harmless extra cell);
*   - inside a GOSUB frame pushes and pops wrap within the 10 cells above the frame's
*     floor, so cells a SUB leaves behind never reach its callers' pending cells;
*   - the IRQ handler runs as a call frame of its own above the interrupted stack; RETI
*     restores the stack index;
*   - the helper at $1187 (08 11 87 in SELECT) keeps the selector when called after an
*     expression and pushes the kept selector when called after a JUMPF.

PORTA    EQU $00
PORTB    EQU $01
DDRA     EQU $04
DDRB     EQU $05
ADDATA   EQU $08
ADSTAT   EQU $09
PLMA     EQU $0A
MISC     EQU $0C
BAUD     EQU $0D
SCCR1    EQU $0E
SCCR2    EQU $0F
SCSR     EQU $10
SCDAT    EQU $11
TCR      EQU $12
TSR      EQU $13
OC1H     EQU $16
OC1L     EQU $17
TCNTH    EQU $18
TCNTL    EQU $19

DSH      EQU $50
DSL      EQU $60
DSP      EQU $70
TPCH     EQU $71
TPCL     EQU $72
T0       EQU $73
T1       EQU $74
T2       EQU $75
T3       EQU $76
T4       EQU $77
T5       EQU $78
CSP      EQU $79
CSH      EQU $7A
CSL      EQU $7F
CSF      EQU $84
FLAGS    EQU $89
PFLAGS   EQU $8A
TOK      EQU $8B
SELH     EQU $8C
SELL     EQU $8D
TICKH    EQU $8E
TICKL    EQU $8F
PAUSH    EQU $90
PAUSL    EQU $91
SEED     EQU $92
IRQH     EQU $96
IRQL     EQU $97
ERRH     EQU $98
ERRL     EQU $99
CRSH     EQU $9A
CRSL     EQU $9B
RXCNT    EQU $9C
RXIN     EQU $9D
JMPV     EQU $9E
VARS     EQU $A1
EXT      EQU $B9+MICRO*38
RXBUF    EQU EXT
TOKPCH   EQU EXT+8
TOKPCL   EQU EXT+9
ERRNO    EQU EXT+10
I2CS     EQU EXT+11
FPOSH    EQU EXT+12
FPOSL    EQU EXT+13
FMODE    EQU EXT+14
CLKSUB   EQU EXT+15
CLKSEC   EQU EXT+16
CLKMIN   EQU EXT+17
CLKHOUR  EQU EXT+18
CLKDAY   EQU EXT+19
CLKMON   EQU EXT+20
CLKYEARH EQU EXT+21
CLKYEARL EQU EXT+22
ISELH    EQU EXT+23
ISELL    EQU EXT+24
CALLMAX  EQU 5
TICKLEN  EQU 10000

* ---------------------------------------------------------------- reset
RESET    SEI               ; also when reached by a jump, as after an upload
         LDA #3
         STA PORTA
         STA DDRA
         LDA #$30          ; external interrupt on the falling edge (written while I = 1)
         STA MISC
         LDA #$C0          ; 9600 baud at 4 MHz
         STA BAUD
         CLR SCCR1
         LDA #$2C          ; transmitter, receiver, receive interrupt
         STA SCCR2
         LDX #$50          ; clear the RAM, variables included (nothing is on the stack yet)
RCLR     CLR ,X
         INCX
         BNE RCLR
         LDA #$CC          ; JMP extended
         STA JMPV
         CLR RXCNT
         LDA #2
         STA FMODE
 IF MICRO
 ELSE
         LDA #1            ; the clock starts on 1 January 2005, 00:00:00
         STA CLKDAY
         STA CLKMON
         LDA #7
         STA CLKYEARH
         LDA #213
         STA CLKYEARL
         CLR CLKSUB
         CLR CLKSEC
         CLR CLKMIN
         CLR CLKHOUR
 END IF
         JSR TIMERGO
         CLI
         JMP BOOT

* starts the 20 ms tick on output compare 1
TIMERGO  LDA TCNTH          ; freezes the counter until the low byte is read
         LDX TCNTL
         STA OC1H
         STX OC1L
         LDA #$40
         STA TCR
         RTS

* ---------------------------------------------------------------- serial EEPROM bus
* SDA is port A bit 0, SCL bit 1; SCL is left low between the routines.
I2CSTART BSET 0,PORTA
         BSET 0,DDRA
         BSET 1,PORTA
         BCLR 0,PORTA      ; SDA falls while SCL is high
         BCLR 1,PORTA
         RTS

* sends A, most significant bit first, then clocks the slave's acknowledge
I2CSEND  STA I2CS
         BSET 0,DDRA
         LDX #8
ISEND1   LSL I2CS
         BCC ISEND0
         BSET 0,PORTA
         BRA ISEND2
ISEND0   BCLR 0,PORTA
ISEND2   BSET 1,PORTA
         BCLR 1,PORTA
         DECX
         BNE ISEND1
         BCLR 0,DDRA
         BSET 1,PORTA
         BCLR 1,PORTA
         RTS

* receives a byte into A and acknowledges it; the EEPROM moves its word address on at
* the rising edge of the acknowledge clock
I2CRECV  BCLR 0,DDRA
         LDX #8
IRECV1   BSET 1,PORTA
         BRSET 0,PORTA,IRECV2
IRECV2   ROL I2CS
         BCLR 1,PORTA
         DECX
         BNE IRECV1
         BCLR 0,PORTA
         BSET 0,DDRA
         BSET 1,PORTA
         BCLR 1,PORTA
         BCLR 0,DDRA
         LDA I2CS
         RTS

* ends the running read (eight clocks and no acknowledge) and starts a sequential read
* at TPC
SEEK     JSR ENDREAD
         JSR I2CSTART
         LDA #$A0
         JSR I2CSEND
         LDA TPCH
         JSR I2CSEND
         LDA TPCL
         JSR I2CSEND
         JSR I2CSTART
         LDA #$A1
         JMP I2CSEND

* ends a running sequential read: the slave sends its byte, the master does not
* acknowledge it; harmless when the bus is idle
ENDREAD  BCLR 0,DDRA
         LDX #9
ENDREAD1 BSET 1,PORTA
         BCLR 1,PORTA
         DECX
         BNE ENDREAD1
         RTS

* the next operand byte into A
FETCHB   JSR I2CRECV
         INC TPCL
         BNE FETCHB1
         INC TPCH
FETCHB1  RTS

* the next token into A; returns with I = 1 so that no interrupt is taken at $0911
FETCHT   JSR FETCHB
         SEI
         RTS

* operand word into T2:T3
FETCHW   JSR FETCHB
         STA T2
         JSR FETCHB
         STA T3
         RTS

* ---------------------------------------------------------------- start
BOOT     CLR TPCH
         CLR TPCL
         JSR SEEK
         JSR FETCHB        ; program length
         STA T0
         JSR FETCHB
         ORA T0
         BEQ IDLE          ; no program
         LDA T0
         INCA
         BEQ IDLE          ; erased EEPROM ($FFxx)
         JSR FETCHB        ; data file size
         JSR FETCHB
         LDA #4
         STA TPCL
         JMP NEXT

* ---------------------------------------------------------------- idle (END)
* the board waits here for the upload commands
IDLE     SEI
         CLR TCR
         CLI
IDLE1    JSR UPLOAD
         BRA IDLE1

*@AT $090E FETCHCALL
FETCHCALL JSR FETCHT
*@AT $0911 TOKFETCH
* ---------------------------------------------------------------- token dispatch
TOKFETCH STA TOK
         LDA FLAGS
         STA PFLAGS
         AND #$FC
         STA FLAGS
         CLI
         LDA TPCL
         SUB #1
         STA TOKPCL
         LDA TPCH
         SBC #0
         STA TOKPCH
         LDA TOK
         CMP #$64
         BHS DHIGH
         LSLA
         TAX
         LDA TABLE,X
         STA JMPV+1
         LDA TABLE+1,X
         STA JMPV+2
         JMP JMPV
DHIGH    CMP #$FF
         BNE TBAD1
         JMP TEND
TBAD1    JMP TBAD

* between tokens: a waiting IRQ starts the BASIC handler
* between tokens: a waiting IRQ starts the BASIC handler as a call frame of its own (so
* its cells stay in the frame's window); with no call level free the request waits
NEXT     BRSET 2,FLAGS,NEXTIRQ
NEXTF    JMP FETCHCALL
NEXTIRQ  LDX CSP
         CPX #CALLMAX
         BHS NEXTF
         BCLR 2,FLAGS
         BRSET 3,FLAGS,NEXTF
         LDA IRQH
         ORA IRQL
         BEQ NEXTF
         BSET 3,FLAGS
 IF MICRO
 ELSE
         LDA SELH          ; the handler may have a SELECT of its own
         STA ISELH
         LDA SELL
         STA ISELL
 END IF
         LDA TPCH
         STA CSH,X
         LDA TPCL
         STA CSL,X
         LDA DSP
         STA CSF,X
         INC CSP
         LDA IRQH
         STA T2
         LDA IRQL
         STA T3
         JMP JUMPT23

* ---------------------------------------------------------------- data stack
* push T0:T1. Inside a GOSUB frame the stack wraps within the 10 cells above the frame's
* floor: cells a SUB leaves behind overwrite its own old cells, never the 6 cells below
* the floor that hold its callers' pending values. Bit 7 of the frame's floor records
* that the frame has wrapped; from then on a pop below its first cell wraps back too.
PUSHV    LDA DSP
         INCA
         AND #15
         LDX CSP
         BEQ PUSHV2
         STA JMPV+2
         LDA CSF-1,X
         ADD #11
         AND #15
         CMP JMPV+2
         BNE PUSHV1
         LDA CSF-1,X
         ORA #$80
         STA CSF-1,X
         INCA
         AND #15
         BRA PUSHV2
PUSHV1   LDA JMPV+2
PUSHV2   STA DSP
         TAX
         LDA T0
         STA DSH,X
         LDA T1
         STA DSL,X
         RTS
* top into T0:T1, popped (inside the frame's window as above)
POPV     JSR PEEKV
DROPV    LDA DSP
         DECA
         AND #15
         LDX CSP
         BEQ DROPV2
         STA JMPV+2
         LDA CSF-1,X
         BPL DROPV1        ; not wrapped
         AND #15
         CMP JMPV+2
         BNE DROPV1
         ADD #10
         AND #15
         BRA DROPV2
DROPV1   LDA JMPV+2
DROPV2   STA DSP
         RTS
* top into T0:T1, popped below the frame's floor (the parameter stores)
POPRAW   JSR PEEKV
         LDA DSP
         DECA
         AND #15
         STA DSP
         RTS
* top into T0:T1, kept
PEEKV    LDX DSP
         LDA DSH,X
         STA T0
         LDA DSL,X
         STA T1
         RTS
* T0:T1 replaces the top
SETTOP   LDX DSP
         LDA T0
         STA DSH,X
         LDA T1
         STA DSL,X
         RTS
* pops b into T2:T3 and reads a into T0:T1 (a stays, SETTOP replaces it)
POPAB    JSR POPV
         LDA T0
         STA T2
         LDA T1
         STA T3
         JMP PEEKV
* the value a store writes: popped after a GOSUB entry, else kept
STOREV   BRCLR 0,PFLAGS,PEEKV
         BSET 0,FLAGS
         LDX CSP
         BEQ POPRAW
         LDA CSF-1,X
         DECA
         AND #15
         STA CSF-1,X
         BRA POPRAW

* T0:T1 := -1 when C is set, else 0; then replaces the top
SETBOOL  CLRA
         SBC #0
         STA T0
         STA T1
         JSR SETTOP
         JMP NEXT

* ---------------------------------------------------------------- jumps and calls
TGOTO    JSR FETCHW
JUMPT23  LDA T2
         STA TPCH
         LDA T3
         STA TPCL
         JSR SEEK
         JMP NEXT

TJUMPF   JSR FETCHW
         BSET 1,FLAGS
         JSR PEEKV
         LDA T0
         ORA T1
         BEQ JUMPT23
         JMP NEXT

TGOSUB   JSR FETCHW
GOSUBT23 LDX CSP
         CPX #CALLMAX
         BLO TGOSUB1
         LDA #1
         JMP RTERR
TGOSUB1  LDA TPCH
         STA CSH,X
         LDA TPCL
         STA CSL,X
         LDA DSP
         STA CSF,X
         INC CSP
         BSET 0,FLAGS
         BRA JUMPT23

TRETURN  LDX CSP
         BNE TRET1
         LDA #2
         JMP RTERR
TRET1    DECX
         STX CSP
         LDA CSH,X
         STA T2
         LDA CSL,X
         STA T3
         LDA CSF,X
         AND #15
         STA T4
         JSR PEEKV
         LDA T4
         STA DSP
         JSR PUSHV
         BRA JUMPT23

* RETI: back to the interrupted token with the stack as the handler found it
TRETI    BRCLR 3,FLAGS,TRETI1
         BCLR 3,FLAGS
 IF MICRO
 ELSE
         LDA ISELH
         STA SELH
         LDA ISELL
         STA SELL
 END IF
         LDX CSP
         BEQ TRETI1
         DECX
         STX CSP
         LDA CSH,X
         STA T2
         LDA CSL,X
         STA T3
         LDA CSF,X
         AND #15
         STA DSP
         JMP JUMPT23
TRETI1   JMP NEXT

* 08 hi lo: calls machine code, which returns with RTS
TCALL    JSR FETCHW
         LDA T2
         STA JMPV+1
         LDA T3
         STA JMPV+2
         JSR JMPV
         JMP NEXT

TEND     JMP IDLE

* SETHANDLER: FE/FF + address for ERROR/CRASH, else the address of the IRQ SUB
TSETHAND JSR FETCHB
         CMP #$FE
         BHS TSETH2
         STA IRQH
         JSR FETCHB
         STA IRQL
         JMP NEXT
TSETH2   STA T4
         JSR FETCHW
         LDX #ERRH
         LDA T4
         CMP #$FE
         BEQ TSETH3
         LDX #CRSH
TSETH3   LDA T2
         STA ,X
         LDA T3
         STA 1,X
         JMP NEXT

* ---------------------------------------------------------------- constants and variables
TPUSHW   JSR FETCHW
PUSHT23  LDA T2
         STA T0
         LDA T3
         STA T1
PUSHNEXT JSR PUSHV
         JMP NEXT

* byte, word or bit address operand
TLBYTERD JSR FETCHB
         TAX
         CLR T0
         LDA VARS,X
         STA T1
         BRA PUSHNEXT
TLWORDRD JSR FETCHB
         LSLA
         TAX
         LDA VARS,X
         STA T0
         LDA VARS+1,X
         STA T1
         BRA PUSHNEXT
TLBITRD  JSR BITADDR
         AND VARS,X
         BEQ TLBITRD1
         LDA #$FF
TLBITRD1 STA T0
         STA T1
         BRA PUSHNEXT
TLBYTEWR JSR FETCHB
         STA T4
         JSR STOREV
         LDX T4
         LDA T1
         STA VARS,X
         JMP NEXT
TLWORDWR JSR FETCHB
         STA T4
         JSR STOREV
         LDA T4
         LSLA
         TAX
         LDA T0
         STA VARS,X
         LDA T1
         STA VARS+1,X
         JMP NEXT
TLBITWR  JSR BITADDR
         STA T4
         STX T5
         JSR STOREV
         LDX T5
         LDA T0
         ORA T1
         BEQ TLBITWR1
         LDA T4
         ORA VARS,X
         BRA TLBITWR2
TLBITWR1 LDA T4
         COMA
         AND VARS,X
TLBITWR2 STA VARS,X
         JMP NEXT
* bit number operand: X := its byte, A := its mask
BITADDR  JSR FETCHB
         TAX
         AND #7
         STA T5
         TXA
         LSRA
         LSRA
         LSRA
         LDX T5
         STA T5
         LDA BITMASK,X
         LDX T5
         RTS
BITMASK  DB #1
         DB #2
         DB #4
         DB #8
         DB #16
         DB #32
         DB #64
         DB #128

* ---------------------------------------------------------------- arithmetic and logic
TADD     JSR POPAB
         LDA T1
         ADD T3
         STA T1
         LDA T0
         ADC T2
SETT0    STA T0
SETNEXT  JSR SETTOP
         JMP NEXT
TSUB     JSR POPAB
         LDA T1
         SUB T3
         STA T1
         LDA T0
         SBC T2
         BRA SETT0
TAND     JSR POPAB
         LDA T1
         AND T3
         STA T1
         LDA T0
         AND T2
         BRA SETT0
TOR      JSR POPAB
         LDA T1
         ORA T3
         STA T1
         LDA T0
         ORA T2
         BRA SETT0
TXOR     JSR POPAB
         LDA T1
         EOR T3
         STA T1
         LDA T0
         EOR T2
         BRA SETT0
TNAND    JSR POPAB
         LDA T1
         AND T3
         STA T1
         LDA T0
         AND T2
         STA T0
         BRA TNOT1
TNOR     JSR POPAB
         LDA T1
         ORA T3
         STA T1
         LDA T0
         ORA T2
         STA T0
         BRA TNOT1
TNOT     JSR PEEKV
TNOT1    COM T0
         COM T1
         BRA SETNEXT
TNEG     JSR PEEKV
         JSR NEGT01
         BRA SETNEXT
TABS     JSR PEEKV
         TST T0
         BPL SETNEXT
         JSR NEGT01
         JMP SETNEXT
NEGT01   COM T0
         NEG T1
         BNE NEGT011
         INC T0
NEGT011  RTS
NEGT23   COM T2
         NEG T3
         BNE NEGT231
         INC T2
NEGT231  RTS
TISNEG   JSR PEEKV
         LDA T0
         ROLA              ; sign into C
         JMP SETBOOL

* low 16 bits of a x b
TMUL     JSR POPAB
         JSR MUL16
         JMP SETNEXT
MUL16    LDA T1
         LDX T3
         MUL
         STA T4
         STX T5
         LDA T0
         LDX T3
         MUL
         ADD T5
         STA T5
         LDA T1
         LDX T2
         MUL
         ADD T5
         STA T0
         LDA T4
         STA T1
         RTS

* signed division truncating toward zero; a divisor 0 gives 0
TDIV     JSR SDIV
         JMP SETNEXT
TMOD     JSR SDIV
         LDA T4
         STA T0
         LDA T5
         STA T1
         TST I2CS
         BPL TMOD1
         JSR NEGT01
TMOD1    JMP SETNEXT
* T0:T1 := a / b, T4:T5 := |a| mod |b|; I2CS bit 7: a was negative
SDIV     JSR POPAB
         LDA T0
         STA I2CS
         EOR T2
         STA TOK           ; bit 7: the quotient is negative
         TST T0
         BPL SDIV1
         JSR NEGT01
SDIV1    TST T2
         BPL SDIV2
         JSR NEGT23
SDIV2    JSR UDIV
         TST TOK
         BPL SDIV3
         JSR NEGT01
SDIV3    RTS
* unsigned T0:T1 / T2:T3: quotient in T0:T1, remainder in T4:T5; 0 / 0 when T2:T3 = 0
UDIV     CLR T4
         CLR T5
         LDA T2
         ORA T3
         BNE UDIV0
         CLR T0
         CLR T1
         RTS
UDIV0    LDX #16
UDIV1    LSL T1
         ROL T0
         ROL T5
         ROL T4
         LDA T5
         SUB T3
         STA JMPV+1
         LDA T4
         SBC T2
         BCS UDIV2
         STA T4
         LDA JMPV+1
         STA T5
         INC T1
UDIV2    DECX
         BNE UDIV1
         RTS

* comparisons: A holds the mask of the outcomes that are true (1 less, 2 equal,
* 4 greater)
TGT      LDA #4
         BRA DOCMP
TGE      LDA #6
         BRA DOCMP
TLT      LDA #1
         BRA DOCMP
TLE      LDA #3
         BRA DOCMP
TEQ      LDA #2
         BRA DOCMP
TNE      LDA #5
DOCMP    STA T4
         JSR POPAB
         JSR CMPAB
         AND T4
         BEQ DOCMP1
         SEC
         JMP SETBOOL
DOCMP1   CLC
         JMP SETBOOL
* signed compare of T0:T1 with T2:T3: A := 1 less, 2 equal, 4 greater
CMPAB    LDA T0
         EOR #$80
         STA T5
         LDA T2
         EOR #$80
         CMP T5
         BNE CMPAB1
         LDA T3
         CMP T1
         BNE CMPAB1
         LDA #2
         RTS
CMPAB1   BHI CMPAB2        ; b > a
         LDA #4
         RTS
CMPAB2   LDA #1
         RTS

TMAX     LDA #4
         BRA DOMAX
TMIN     LDA #1
DOMAX    STA T4
         JSR POPAB
         JSR CMPAB
         AND T4
         BNE DOMAX1
         LDA T2
         STA T0
         LDA T3
         STA T1
DOMAX1   JMP SETNEXT

* SHL, SHR: the count mod 32; 16 and more clear the cell
TSHL     CLR T4
         BRA DOSHIFT
TSHR     LDA #1
         STA T4
DOSHIFT  JSR POPAB
         LDA T3
         AND #31
         BEQ DOSHIFT3
         TAX
DOSHIFT1 TST T4
         BNE DOSHIFT2
         LSL T1
         ROL T0
         BRA DOSHIFT4
DOSHIFT2 LSR T0
         ROR T1
DOSHIFT4 DECX
         BNE DOSHIFT1
DOSHIFT3 JMP SETNEXT

* ---------------------------------------------------------------- serial output
* sends A
PUTC     BRCLR 7,SCSR,PUTC
         STA SCDAT
         RTS

TPRSTR   JSR FETCHB
         TSTA
         BEQ TPRSTR1
         JSR PUTC
         BRA TPRSTR
TPRSTR1  JMP NEXT

TPUTCHAR JSR PEEKV
         LDA T1
         JSR PUTC
         JMP NEXT

TPRNUM   JSR PEEKV
         JSR PRINTDEC
         JMP NEXT
* prints T0:T1 as a signed decimal number
PRINTDEC TST T0
         BPL PRDEC1
         LDA #45
         JSR PUTC
         JSR NEGT01
PRDEC1   CLR TOK           ; digits printed so far
         CLRX
PRDEC2   CLR T5
PRDEC3   LDA T1
         SUB POWERS+1,X
         STA T3
         LDA T0
         SBC POWERS,X
         BCS PRDEC4
         STA T0
         LDA T3
         STA T1
         INC T5
         BRA PRDEC3
PRDEC4   LDA T5
         ORA TOK
         BNE PRDEC5
         CPX #8            ; the last digit always prints
         BNE PRDEC6
PRDEC5   LDA T5
         ADD #48
         JSR PUTC
         INC TOK
PRDEC6   INCX
         INCX
         CPX #10
         BNE PRDEC2
         RTS
POWERS   DW #10000
         DW #1000
         DW #100
         DW #10
         DW #1

* ---------------------------------------------------------------- serial input
* receive interrupt: the character enters the 8-byte ring
SCIISR   LDA SCSR
         AND #$20
         BEQ SCIISR1
         LDA SCDAT
         LDX RXIN
         STA RXBUF,X
         INCX
         TXA
         AND #7
         STA RXIN
         LDA RXCNT
         CMP #8
         BEQ SCIISR1       ; full: the oldest is overwritten
         INC RXCNT
SCIISR1  RTI

* the oldest received character into A (RXCNT > 0); interrupts stay as they were
RXTAKE   SEI
         LDA RXIN
         SUB RXCNT
         AND #7
         TAX
         DEC RXCNT
         CLI
         LDA RXBUF,X
         RTS
* waits for a character and takes it
RXWAIT   TST RXCNT
         BNE RXTAKE
         WAIT
         BRA RXWAIT

TRXREADY CLR T0
         CLR T1
         TST RXCNT
         BEQ TRXRDY1
         COM T0
         COM T1
TRXRDY1  JMP PUSHNEXT

TGETCHAR JSR RXWAIT
         STA T1
         CLR T0
         JMP PUSHNEXT

* INPUTNUM: digits up to a carriage return; '-' makes the number negative
TINPUT   CLR T0
         CLR T1
         CLR TOK           ; sign
TINPUT1  JSR RXWAIT
         CMP #13
         BEQ TINPUT3
         CMP #45
         BNE TINPUT2
         COM TOK
         BRA TINPUT1
TINPUT2  SUB #48
         CMP #9
         BHI TINPUT1
         STA JMPV+1
         LDA #10
         STA T3
         CLR T2
         JSR MUL16
         LDA T1
         ADD JMPV+1
         STA T1
         BCC TINPUT1
         INC T0
         BRA TINPUT1
TINPUT3  TST TOK
         BEQ TINPUT4
         JSR NEGT01
TINPUT4  JMP PUSHNEXT

* SETBAUD b: the SCI baud register (Micro: 80 is 9600, 00 the nearest to 19200)
TSETBAUD JSR FETCHB
 IF MICRO
         TSTA
         BMI TSETB1
         LDA #$49
         BRA TSETB2
TSETB1   LDA #$C0
 END IF
TSETB2   STA BAUD
         JMP NEXT

* ---------------------------------------------------------------- ports and converters
* port operand 0, 1, 2: ports B, C, D
TPORTRD  JSR FETCHB
         TAX
         CPX #2
         BHS TPORTRD1
         CLR DDRB,X
TPORTRD1 LDA PORTB,X
         CLR T0
         STA T1
         JMP PUSHNEXT
TPORTWR  JSR FETCHB
         STA T4
         JSR STOREV
         LDX T4
         CPX #2
         BHS TPORTWR1
         LDA T1
         STA PORTB,X
         LDA #$FF
         STA DDRB,X
TPORTWR1 JMP NEXT
TPINRD   JSR BITADDR
         STA T4
         CPX #2
         BHS TPINRD1
         COMA
         AND DDRB,X
         STA DDRB,X
TPINRD1  LDA PORTB,X
         AND T4
         BEQ TPINRD2
         LDA #$FF
TPINRD2  STA T0
         STA T1
         JMP PUSHNEXT
TPINWR   JSR BITADDR
         STA T4
         STX T5
         JSR STOREV
         LDX T5
         CPX #2
         BHS TPINWR3
         LDA T0
         ORA T1
         BEQ TPINWR1
         LDA T4
         ORA PORTB,X
         BRA TPINWR2
TPINWR1  LDA T4
         COMA
         AND PORTB,X
TPINWR2  STA PORTB,X
         LDA T4
         ORA DDRB,X
         STA DDRB,X
TPINWR3  JMP NEXT
* word port: port B high, port C low
TWPORTRD CLR DDRB
         CLR DDRB+1
         LDA PORTB
         STA T0
         LDA PORTB+1
         STA T1
         JMP PUSHNEXT
TWPORTWR JSR STOREV
         LDA T0
         STA PORTB
         LDA T1
         STA PORTB+1
         LDA #$FF
         STA DDRB
         STA DDRB+1
         JMP NEXT
TADREAD  JSR FETCHB
         AND #7
         ORA #$20
         STA ADSTAT
         LDA ADDATA
         CLR T0
         STA T1
         JMP PUSHNEXT
TDAWRITE JSR FETCHB
         AND #1
         STA T4
         JSR STOREV
         LDX T4
         LDA T1
         STA PLMA,X
         JMP NEXT
* DEACT: the pin or port becomes an input again
TDEACTPN JSR BITADDR
         CPX #2
         BHS TDEACT9
         COMA
         AND DDRB,X
         STA DDRB,X
TDEACT9  JMP NEXT
TDEACTPT JSR FETCHB
         TAX
         CPX #2
         BHS TDEACT9
         CLR DDRB,X
         JMP NEXT
TDEACTW  JSR FETCHB
         CLR DDRB
         CLR DDRB+1
         JMP NEXT

* ---------------------------------------------------------------- time
* output compare 1: the 20 ms tick
TIMERISR LDA TSR
         LDA OC1L          ; clears the compare flag
         ADD #TICKLEN&255
         TAX
         LDA OC1H
         ADC #TICKLEN/256
         STA OC1H
         STX OC1L
 IF MICRO
 ELSE
         JSR CLOCKTICK
 END IF
         INC TICKL
         BNE TIMISR1
         INC TICKH
TIMISR1  LDA PAUSL
         ORA PAUSH
         BEQ TIMISR2
         LDA PAUSL
         SUB #1
         STA PAUSL
         BCC TIMISR2
         DEC PAUSH
TIMISR2  RTI

TPAUSE   JSR PEEKV
         SEI
         LDA T0
         STA PAUSH
         LDA T1
         STA PAUSL
         CLI
TPAUSE1  LDA PAUSL
         ORA PAUSH
         BEQ TPAUSE2
         WAIT
         BRA TPAUSE1
TPAUSE2  JMP NEXT

* SYSREAD: 0-6 the clock (Tessel 1.1), 7 TIMER, 8 INCOUNT, 11 FILEFREE, 12 FILESIZE,
* 13 KEY, 14 KEYCOUNT; the others (DOW, FREQ1, FREQ2) are refused with error 6
TSYSRD   JSR FETCHB
 IF MICRO
 ELSE
         CMP #7
         BHS TSYSRD0
         CMP #3
         BEQ TSYSRD4       ; DOW: the compiler computes it on Tessel 1.1
         JSR CLOCKRD
         JMP PUSHNEXT
 END IF
TSYSRD0  CLR T0
         CMP #7
         BNE TSYSRD1
         SEI
         LDA TICKH
         STA T0
         LDA TICKL
         CLI
         BRA TSYSRD9
TSYSRD1  CMP #8
         BNE TSYSRD2
         LDA RXCNT
         BRA TSYSRD9
TSYSRD2  CMP #12
         BNE TSYSRD3
         JSR FILESIZE
         JMP PUSHNEXT
TSYSRD3  CMP #11
         BNE TSYSRD4
         JSR FILECAP       ; free words: the capacity less the file's size
         LDA T0
         STA JMPV+1
         LDA T1
         STA JMPV+2
         JSR FILESIZE
         LDA JMPV+2
         SUB T1
         STA T1
         LDA JMPV+1
         SBC T0
         STA T0
         JMP PUSHNEXT
TSYSRD4  CMP #13           ; KEY reads -1, KEYCOUNT 0
         BNE TSYSRD5
         LDA #$FF
         STA T0
         BRA TSYSRD9
TSYSRD5  CMP #14
         BNE TSYSRD6
         CLRA
         BRA TSYSRD9
TSYSRD6  LDA #6
         JMP RTERR
TSYSRD9  STA T1
         JMP PUSHNEXT
* SYSWRITE: 7 TIMER, 8 BEEP and 14 KEYCOUNT (ignored)
TSYSWR   JSR FETCHB
         STA T4
         JSR STOREV
         LDA T4
 IF MICRO
 ELSE
         CMP #7
         BHS TSYSWR0
         CMP #3
         BEQ TSYSWR3       ; DOW cannot be set
         JSR CLOCKWR
         JMP NEXT
 END IF
TSYSWR0  CMP #7
         BNE TSYSWR1
         SEI
         LDA T0
         STA TICKH
         LDA T1
         STA TICKL
         CLI
         JMP NEXT
TSYSWR1  CMP #8
         BEQ TSYSWR2
         CMP #14
         BEQ TSYSWR2
TSYSWR3  LDA #7
         JMP RTERR
TSYSWR2  JMP NEXT

* ---------------------------------------------------------------- random numbers
* seed := seed x 134775813 + 1 (mod 2^32); the result is the low word of
* (seed x 2147483647) / 2^32, the token machine's generator cut to a cell
TRAND    JSR RANDSTEP
         LDA SEED+1        ; low word of seed / 2
         LSRA
         LDA SEED+2
         RORA
         STA T0
         LDA SEED+3
         RORA
         STA T1
         BCS TRAND3        ; odd seed: borrow when bit 31 is set
         LDA SEED          ; even seed: borrow unless it is 0
         ORA SEED+1
         ORA SEED+2
         ORA SEED+3
         BEQ TRAND2
         BRA TRAND1
TRAND3   TST SEED
         BPL TRAND2
TRAND1   LDA T1
         SUB #1
         STA T1
         LDA T0
         SBC #0
         STA T0
TRAND2   JMP PUSHNEXT
* seed := seed x $08088405 + 1; the product collects in T2 (high) .. T5 (low).
* T0 and T1 count the seed and multiplier bytes (0 = high byte).
RANDSTEP CLR T2
         CLR T3
         CLR T4
         CLR T5
         CLR T0
RSTEP1   CLR T1
RSTEP2   LDA T0
         ADD T1
         SUB #3
         BMI RSTEP9        ; weight beyond 32 bits
         STA JMPV+1        ; product byte index k = i + j - 3
         LDX T0
         LDA SEED,X
         STA JMPV+2
         LDX T1
         LDA RANDK,X
         LDX JMPV+2
         MUL
         STX TOK
         LDX JMPV+1
         ADD T2,X
         STA T2,X
         LDA TOK
RSTEP3   DECX
         BMI RSTEP9
         ADC T2,X
         STA T2,X
         LDA #0
         BRA RSTEP3
RSTEP9   INC T1
         LDA T1
         CMP #4
         BLO RSTEP2
         INC T0
         LDA T0
         CMP #4
         BLO RSTEP1
         LDA T5
         ADD #1
         STA SEED+3
         LDA T4
         ADC #0
         STA SEED+2
         LDA T3
         ADC #0
         STA SEED+1
         LDA T2
         ADC #0
         STA SEED
         RTS
RANDK    DB #$08
         DB #$08
         DB #$84
         DB #$05

* RANDOMIZE: the cell, sign-extended, becomes the seed
TRANDSED JSR PEEKV
         CLRA
         TST T0
         BPL TRANDSD1
         COMA
TRANDSD1 STA SEED
         STA SEED+1
         LDA T0
         STA SEED+2
         LDA T1
         STA SEED+3
         JMP NEXT

* ---------------------------------------------------------------- runtime errors
* A = error number. ERROR handles 8-13, CRASH the others; without a handler the
* program stops at ERRSTOP with the number in ERRNO.
RTERR    STA ERRNO
         CMP #8
         BLO RTERR2
         CMP #14
         BHS RTERR2
         LDA ERRH
         ORA ERRL
         BEQ ERRSTOP
         LDA ERRH
         STA T2
         LDA ERRL
         STA T3
         BRA RTERR3
RTERR2   LDA CRSH
         ORA CRSL
         BEQ ERRSTOP
         LDA CRSH
         STA T2
         LDA CRSL
         STA T3
         CLR CSP           ; a critical error empties both stacks
         CLR DSP
         BCLR 3,FLAGS      ; and ends a running IRQ handler
         CLR TPCH          ; RETURN from CRASH restarts the program
         LDA #4
         STA TPCL
RTERR3   LDA TOKPCH
         STA T0
         LDA TOKPCL
         STA T1
         JSR PUSHV
         CLR T0
         LDA ERRNO
         STA T1
         JSR PUSHV
         JMP GOSUBT23
ERRSTOP  SEI
         CLR TCR
         CLI
ERRSTOP1 JSR UPLOAD        ; a stopped board still takes a new program
         BRA ERRSTOP1

TBAD     LDA #255
         JMP RTERR

* ---------------------------------------------------------------- SELECT helper
* called with 08 11 87: keeps the selector after its expression, pushes it again after
* a JUMPF. Inside a FUNCTION or SUB INTERRUPT, where a drop comes between the item's
* JUMPF and the reload, the compiler calls the reload entry 08 11 8C directly.
*@AT $1187 SELHELP
SELHELP  BRSET 1,PFLAGS,SELHELP1
         BRA SELKEEP
*@AT $118C SELHELP1
SELHELP1 LDA SELH
         STA T0
         LDA SELL
         STA T1
         JMP PUSHV
SELKEEP  JSR PEEKV
         LDA T0
         STA SELH
         LDA T1
         STA SELL
         RTS

* ---------------------------------------------------------------- EEPROM data
* reads the word at EEPROM address T2:T3 into T0:T1, then goes on reading at TPC
EEWORD   LDA TPCH
         STA T4
         LDA TPCL
         STA T5
         LDA T2
         STA TPCH
         LDA T3
         STA TPCL
         JSR SEEK
         JSR I2CRECV
         STA T0
         JSR I2CRECV
         STA T1
EERESUME LDA T4
         STA TPCH
         LDA T5
         STA TPCL
         JMP SEEK
* writes T0:T1 at EEPROM address T2:T3, then goes on reading at TPC
EEWRITE  LDA TPCH
         STA T4
         LDA TPCL
         STA T5
         JSR ENDREAD
         JSR I2CSTART
         LDA #$A0
         JSR I2CSEND
         LDA T2
         JSR I2CSEND
         LDA T3
         JSR I2CSEND
         LDA T0
         JSR I2CSEND
         LDA T1
         JSR I2CSEND
         JSR I2CSTOP
         BRA EERESUME
* T2:T3 := EEPROM address of data file word FPOS (4 + program length + 2 x FPOS)
FILEADDR CLR T2
         CLR T3
         JSR EEWORD        ; program length
         LDA FPOSL
         LSLA
         STA T3
         LDA FPOSH
         ROLA
         STA T2
         LDA T3
         ADD T1
         STA T3
         LDA T2
         ADC T0
         STA T2
         LDA T3
         ADD #4
         STA T3
         BCC FILEADR1
         INC T2
FILEADR1 RTS
* T0:T1 := the data file's capacity in words: from behind the program to the end of the
* EEPROM (8 KB on Tessel 1.1, 64 KB on Micro)
FILECAP  CLR T2
         CLR T3
         JSR EEWORD        ; program length
         LDA #$FC          ; end - 4 - length
         SUB T1
         STA T1
 IF MICRO
         LDA #$FF
 ELSE
         LDA #$1F
 END IF
         SBC T0
         LSRA
         ROR T1
         STA T0
         RTS
* T0:T1 := data file size in words (header bytes 2-3)
FILESIZE CLR T2
         LDA #2
         STA T3
         JMP EEWORD
* C set when FPOS has reached the file size
FILEEND  JSR FILESIZE
         LDA FPOSH
         CMP T0
         BNE FILEEND1
         LDA FPOSL
         CMP T1
FILEEND1 BLO FILEEND2      ; FPOS < size
         SEC
         RTS
FILEEND2 CLC
         RTS

TTABLERD JSR FETCHW
         JSR PEEKV         ; index
         LSL T1
         ROL T0
         LDA T3
         ADD T1
         STA T3
         LDA T2
         ADC T0
         STA T2
         JSR EEWORD
         JMP SETNEXT

TEOF     JSR FILEEND
         CLR T0
         CLR T1
         BCC TEOF1
         COM T0
         COM T1
TEOF1    JMP PUSHNEXT

* FILEOP f: 1 read, 2 write, 3 append, 4 close, 5 write a word, 6 read a word
TFILEOP  JSR FETCHB
         CMP #4
         BHS TFILE4
         LDX FMODE
         CPX #2
         BEQ TFILE1
         LDA #8            ; already open
         JMP RTERR
TFILE1   CLR FPOSH
         CLR FPOSL
         CMP #1
         BNE TFILE2
         CLR FMODE
         JMP NEXT
TFILE2   LDX #1
         STX FMODE
         CMP #3
         BNE TFILE9
         JSR FILESIZE
         LDA T0
         STA FPOSH
         LDA T1
         STA FPOSL
TFILE9   JMP NEXT
TFILE4   BNE TFILE5
         LDA FMODE
         CMP #2
         BNE TFILE41
         LDA #9            ; not open
         JMP RTERR
TFILE41  LDX #2
         STX FMODE
         CMP #1
         BNE TFILE9
         LDA FPOSH         ; closing after writing stores the size
         STA T0
         LDA FPOSL
         STA T1
         CLR T2
         LDA #2
         STA T3
         JSR EEWRITE
         JMP NEXT
TFILE5   CMP #5
         BNE TFILE6
         LDA FMODE
         CMP #1
         BEQ TFILE51
         LDA #12           ; not open for writing
         JMP RTERR
TFILE51  JSR FILECAP       ; the data file ends with the EEPROM
         LDA FPOSH
         CMP T0
         BNE TFILE511
         LDA FPOSL
         CMP T1
TFILE511 BLO TFILE512
         LDA #13
         JMP RTERR
TFILE512 JSR FILEADDR
TFILE52  JSR PEEKV
         JSR EEWRITE
         BRA TFILEINC
TFILE6   CMP #6
         BNE TFILE9
         CLR T0
         CLR T1
         JSR PUSHV
         LDA FMODE
         BEQ TFILE61
         LDA #10           ; not open for reading
         JMP RTERR
TFILE61  JSR FILEEND
         BCC TFILE62
         LDA #11           ; end of the file
         JMP RTERR
TFILE62  JSR FILEADDR
         JSR EEWORD
         JSR SETTOP
TFILEINC INC FPOSL
         BNE TFILEI1
         INC FPOSH
TFILEI1  JMP NEXT

* ---------------------------------------------------------------- more tokens
TCLRSTK  LDX #15
TCLRSTK1 CLR DSH,X
         CLR DSL,X
         DECX
         BPL TCLRSTK1
         JMP NEXT

* PINTOGGLE, PINPULSE: the pin becomes an output and changes (twice for a pulse)
TPINTOG  JSR BITADDR
         CPX #2
         BHS TPINTOG9
         STA T4
         EOR PORTB,X
         STA PORTB,X
         LDA T4
         ORA DDRB,X
         STA DDRB,X
TPINTOG9 JMP NEXT
TPINPULS JSR BITADDR
         CPX #2
         BHS TPINTOG9
         STA T4
         ORA DDRB,X
         STA DDRB,X
         LDA T4
         EOR PORTB,X
         STA PORTB,X
         LDA T4
         EOR PORTB,X
         STA PORTB,X
         JMP NEXT

* SQR: the square root rounded to the nearest whole number; 0 for a negative value
TSQR     JSR PEEKV
         CLR T2            ; root
         CLR T3
         CLR T4            ; square so far
         CLR T5
         TST T0
         BMI TSQR3
TSQR1    LDA T3            ; next square: square + 2 x root + 1
         LSLA
         STA JMPV+2
         CLRA
         ROLA
         STA JMPV+1
         INC JMPV+2
         LDA JMPV+2
         ADD T5
         STA JMPV+2
         LDA JMPV+1
         ADC T4
         STA JMPV+1
         LDA T1            ; does the next square still fit?
         SUB JMPV+2
         LDA T0
         SBC JMPV+1
         BCS TSQR2
         LDA JMPV+1
         STA T4
         LDA JMPV+2
         STA T5
         INC T3
         BRA TSQR1
TSQR2    LDA T1            ; value - square > root: round up
         SUB T5
         STA T5
         LDA T0
         SBC T4
         BNE TSQR21
         LDA T5
         CMP T3
         BLS TSQR3
TSQR21   INC T3
TSQR3    CLR T0
         LDA T3
         STA T1
         JMP SETNEXT

* ---------------------------------------------------------------- clock
* calendar clock: one 20 ms step
CLOCKTICK INC CLKSUB
         LDA CLKSUB
         CMP #50
         BLO CLKT9
         CLR CLKSUB
         INC CLKSEC
         LDA CLKSEC
         CMP #60
         BLO CLKT9
         CLR CLKSEC
         INC CLKMIN
         LDA CLKMIN
         CMP #60
         BLO CLKT9
         CLR CLKMIN
         INC CLKHOUR
         LDA CLKHOUR
         CMP #24
         BLO CLKT9
         CLR CLKHOUR
         JSR MONTHDAYS
         INC CLKDAY
         CMP CLKDAY
         BHS CLKT9
         LDA #1
         STA CLKDAY
         INC CLKMON
         LDA CLKMON
         CMP #13
         BLO CLKT9
         LDA #1
         STA CLKMON
         INC CLKYEARL
         BNE CLKT9
         INC CLKYEARH
CLKT9    RTS
* A := days of the clock's month (February 29 in years divisible by 4, except
* centuries not divisible by 400)
MONTHDAYS LDX CLKMON
         LDA MDAYS-1,X
         CPX #2
         BNE MDAYS9
         LDA CLKYEARL
         AND #3
         BNE MDAYS8
         LDA CLKYEARH      ; divisible by 4: a century year is 1900, 2100, 2200...
         LDX CLKYEARL
         CMP #$07
         BNE MDAYS7
         CPX #$6C          ; 1900
         BEQ MDAYS8
         CPX #$D0          ; 2000 is a leap year
         BRA MDAYS7
MDAYS7   CMP #$08
         BNE MDAYS6
         CPX #$34          ; 2100
         BEQ MDAYS8
         CPX #$98          ; 2200
         BEQ MDAYS8
MDAYS6   LDA #29
         RTS
MDAYS8   LDA #28
MDAYS9   RTS
MDAYS    DB #31
         DB #28
         DB #31
         DB #30
         DB #31
         DB #30
         DB #31
         DB #31
         DB #30
         DB #31
         DB #30
         DB #31

* SYSREAD of the clock fields 0-6 (A = number) into T0:T1
CLOCKRD  CLR T0
         SEI
         TSTA
         BNE CLOCKRD1
         LDA CLKYEARH
         STA T0
         LDA CLKYEARL
         BRA CLOCKRD9
CLOCKRD1 TAX
         LDA CLOCKIDX,X
         TAX
         LDA CLKSUB,X
CLOCKRD9 STA T1
         CLI
         RTS
* clock field of each number 1-6, as an offset from CLKSUB (3, DOW, reads 0)
CLOCKIDX DB #0
         DB #5
         DB #4
         DB #8
         DB #3
         DB #2
         DB #1
* SYSWRITE of the clock fields (A = number, value in T0:T1); values outside the
* field's range are ignored
CLOCKWR  TSTA
         BNE CLOCKWR1
         SEI
         LDA T0
         STA CLKYEARH
         LDA T1
         STA CLKYEARL
         CLI
         RTS
CLOCKWR1 TAX
         LDA T0
         BNE CLOCKWR9
         LDA T1
         CMP CLOCKMAX,X
         BHS CLOCKWR9
         CPX #3
         BEQ CLOCKWR9
         CPX #4
         BHS CLOCKWR2
         TSTA              ; month and day start at 1
         BEQ CLOCKWR9
CLOCKWR2 STA T1
         LDA CLOCKIDX,X
         TAX
         SEI
         LDA T1
         STA CLKSUB,X
         CLI
CLOCKWR9 RTS
CLOCKMAX DB #0
         DB #13
         DB #32
         DB #0
         DB #24
         DB #60
         DB #60

* SLOWMODE n: the controller's slow clock (miscellaneous register bit 1) for n <> 0
TSLOW    JSR FETCHB
         SEI
         TSTA
         BEQ TSLOW1
         LDA #$32
         BRA TSLOW2
TSLOW1   LDA #$30
TSLOW2   STA MISC
         CLI
         JMP NEXT

* ---------------------------------------------------------------- upload (board side)
* one command from the serial line: 01 identification, 09 machine code area,
* 08 machine code, 02 token program
UPLOAD   JSR RXWAIT
         CMP #1
         BEQ UPIDENT
         CMP #9
         BEQ UPREAD
         CMP #8
         BEQ UPCODE
         CMP #2
         BNE UPLOAD9
         JMP UPTOKEN
UPLOAD9  RTS
UPIDENT  CLRX
UPIDENT1 LDA IDENTTEXT,X
         BEQ UPIDENT2
         JSR PUTC
         INCX
         BRA UPIDENT1
UPIDENT2 LDA #13
         JMP PUTC
UPREAD   CLRX
UPREAD1  LDA $0101,X
         JSR PUTC
         INCX
         CPX #255
         BNE UPREAD1
         RTS
* a byte from the line, echoed
UPECHO   JSR RXWAIT
         JMP PUTC
* machine code: a length byte, then the code for $0101 on, programmed byte by byte
UPCODE   JSR UPECHO
         STA T4
         CLR T5
UPCODE1  LDA T5
         CMP T4
         BEQ UPCODE9
         JSR UPECHO
         LDX T5
         JSR PROGBYTE
         INC T5
         BRA UPCODE1
UPCODE9  RTS
* programs A into the user area at $0101 + X through the programming register $07
PROGBYTE STA I2CS
         LDA #2            ; latch
         STA $07
         LDA I2CS
         STA $0101,X
         LDA #3            ; latch and program
         STA $07
         CLR $07
         RTS
* token program: the length (two bytes), then the image for EEPROM address 4 on. The
* header says "no program" while the image is written and gets its length only at the
* end, so a transfer cut off halfway never leaves a half-written program to run.
UPTOKEN  JSR UPECHO
         STA FPOSH         ; bytes still to come
         JSR UPECHO
         STA FPOSL
         CLR T0
         CLR T1
         CLR T2
         CLR T3
         JSR EEWRITE       ; length 0 while the image is written
         CLR T0
         CLR T1
         CLR T2
         LDA #2
         STA T3
         JSR EEWRITE       ; data file size 0
         CLR TPCH
         LDA #4
         STA TPCL
UPTOK1   LDA FPOSH
         ORA FPOSL
         BEQ UPTOK9
         JSR WRSTART       ; one page: up to the next 16-byte boundary
UPTOK2   JSR UPECHO
         JSR I2CSEND
         INC TPCL
         BNE UPTOK3
         INC TPCH
UPTOK3   LDA FPOSL
         SUB #1
         STA FPOSL
         LDA FPOSH
         SBC #0
         STA FPOSH
         ORA FPOSL
         BEQ UPTOK4
         LDA TPCL
         AND #15
         BNE UPTOK2
UPTOK4   JSR I2CSTOP
         BRA UPTOK1
UPTOK9   LDA TPCL          ; the image is complete: its length is TPC - 4
         SUB #4
         STA T1
         LDA TPCH
         SBC #0
         STA T0
         CLR T2
         CLR T3
         JSR EEWRITE
         SEI               ; no byte may arrive while RESET clears the buffer
         RSP               ; run the new program from a clean state
         JMP RESET
* stop condition: ends a write, the EEPROM stores the page
I2CSTOP  BCLR 0,PORTA
         BSET 0,DDRA
         BSET 1,PORTA
         BSET 0,PORTA      ; SDA rises while SCL is high
         RTS

* start of a write at TPC
WRSTART  JSR ENDREAD
         JSR I2CSTART
         LDA #$A0
         JSR I2CSEND
         LDA TPCH
         JSR I2CSEND
         LDA TPCL
         JMP I2CSEND

* external interrupt: the BASIC handler starts before the next token
IRQISR   BSET 2,FLAGS
IGNORE   RTI

*@AT $1D76 IDENTTEXT
IDENTTEXT
 IF MICRO
         DB "TESEL Micro (Zarvek OS 1.0)"
 ELSE
         DB "TESEL 1.1 (Zarvek OS 1.0)"
 END IF
         DB #0
         DB "Zarvek Tessel operating system"
         DB #0
         DB "token code, 16-bit cells"
         DB #0
*@AT $1DD7 TABLE
* token dispatch: handler of each token $00-$63, then the table version
TABLE    DW #TBAD
         DW #TCLRSTK
         DW #TPAUSE
         DW #TGOTO
         DW #TJUMPF
         DW #TGOSUB
         DW #TRETURN
         DW #TRETI
         DW #TCALL
         DW #TSLOW
         DW #TPINRD
         DW #TPORTRD
         DW #TWPORTRD
         DW #TPINWR
         DW #TPORTWR
         DW #TWPORTWR
         DW #TADREAD       ; 10
         DW #TDAWRITE
         DW #TBAD
         DW #TBAD
         DW #TPUSHW
         DW #TLBITRD
         DW #TLBYTERD
         DW #TLWORDRD
         DW #TLBITWR
         DW #TLBYTEWR
         DW #TLWORDWR
         DW #TTABLERD
         DW #TSYSRD
         DW #TSYSWR
         DW #TPRNUM
         DW #TPRSTR
         DW #TPUTCHAR      ; 20
         DW #TRXREADY
         DW #TGETCHAR
         DW #TINPUT
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TNOT
         DW #TAND
         DW #TNAND
         DW #TOR
         DW #TNOR
         DW #TXOR
         DW #TSHL
         DW #TSHR
         DW #TRANDSED      ; 30
         DW #TRAND
         DW #TNEG
         DW #TADD
         DW #TSUB
         DW #TMUL
         DW #TDIV
         DW #TMOD
         DW #TABS
         DW #TSQR
         DW #TMAX
         DW #TMIN
         DW #TGT
         DW #TGE
         DW #TLT
         DW #TLE
         DW #TEQ           ; 40
         DW #TNE
         DW #TISNEG
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TFILEOP
         DW #TEOF
         DW #TSETBAUD
         DW #TSETHAND
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TPINTOG
         DW #TPINPULS
         DW #TDEACTPN
         DW #TDEACTPT
         DW #TDEACTW
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DW #TBAD          ; 60
         DW #TBAD
         DW #TBAD
         DW #TBAD
         DB #1
*@AT $1FF2 VECTORS
VECTORS  DW #SCIISR
         DW #IGNORE        ; timer overflow
         DW #TIMERISR      ; output compare
         DW #IGNORE        ; input capture
         DW #IRQISR
         DW #IGNORE        ; SWI
         DW #RESET
