/* What differs between the two chips: memory sizes, register names, pins, vectors.
 * Everything else in the runtime is the same for both. */
#ifndef PYXON_BOARD_H
#define PYXON_BOARD_H

#include <avr/io.h>

#ifndef F_CPU
#define F_CPU 16000000UL
#endif

#if defined(__AVR_ATmega32__)

#define BOARD_NAME "Pyxon 32"
/* 2 KB of RAM: space 0 keeps its 512 bytes, the local memory holds 16 frames of 32 bytes
 * (operands that reach past it are refused), the stacks keep their sizes. */
#define SPACE0_SIZE 512u
#define LOCAL_SIZE 512u
/* 1 KB of EEPROM: the program memory first, the EEPROM variables (space 1) behind it. */
#define INTERNAL_PROGRAM_SIZE 896u
/* "E" programs on a 24C256 (32 KB) on the two-wire bus: the token machine's size. */
#define SERIAL_PROGRAM_SIZE 32745u
#define SPACE1_SIZE 128u
/* Boot section of 2 KB (fuses BOOTSZ = 01) at word 0x3C00. */
#define BOOT_START 0x7800u

#define UART_UCSRA UCSRA
#define UART_UCSRB UCSRB
#define UART_UCSRC_INIT() (UCSRC = _BV(URSEL) | _BV(UCSZ1) | _BV(UCSZ0))
#define UART_UBRRH UBRRH
#define UART_UBRRL UBRRL
#define UART_UDR UDR
#define UART_RX_VECT USART_RXC_vect
#define UART_U2X U2X
#define UART_RXEN RXEN
#define UART_TXEN TXEN
#define UART_RXCIE RXCIE
#define UART_UDRE UDRE
#define UART_RXC RXC
#define TXC_BIT TXC

/* 4 ms compare interrupt: clk/256, 250 counts. */
#define TICK_TIMER_INIT() do { TCCR0 = _BV(WGM01) | _BV(CS02); OCR0 = 249; TIMSK |= _BV(OCIE0); } while (0)
#define TICK_VECT TIMER0_COMP_vect

/* Interrupt input INT0 (PD2), falling edge, pull-up on. */
#define INT0_PIN_MASK _BV(PD2)
#define INT0_INIT() do { DDRD &= ~_BV(PD2); PORTD |= _BV(PD2); MCUCR = (MCUCR & ~(_BV(ISC00))) | _BV(ISC01); GIFR = _BV(INTF0); GICR |= _BV(INT0); } while (0)

/* D/A channels 0 and 1: 8-bit fast PWM on OC1A (PD5) and OC1B (PD4). */
#define PWM_DDR DDRD
#define PWM_BIT_A PD5
#define PWM_BIT_B PD4

#elif defined(__AVR_ATmega128__)

#define BOARD_NAME "Pyxon 128"
#define SPACE0_SIZE 512u
#define LOCAL_SIZE 1024u
/* 4 KB of EEPROM: 3 KB program memory, 1 KB EEPROM variables. */
#define INTERNAL_PROGRAM_SIZE 3072u
/* "E" programs on a 24C512 (64 KB) on the two-wire bus: the token machine's size. */
#define SERIAL_PROGRAM_SIZE 65535u
#define SPACE1_SIZE 1024u
/* Boot section of 2 KB (BOOTSZ = 10) at word 0xFC00. */
#define BOOT_START 0x1F800UL

#define UART_UCSRA UCSR0A
#define UART_UCSRB UCSR0B
#define UART_UCSRC_INIT() (UCSR0C = _BV(UCSZ01) | _BV(UCSZ00))
#define UART_UBRRH UBRR0H
#define UART_UBRRL UBRR0L
#define UART_UDR UDR0
#define UART_RX_VECT USART0_RX_vect
#define UART_U2X U2X0
#define UART_RXEN RXEN0
#define UART_TXEN TXEN0
#define UART_RXCIE RXCIE0
#define UART_UDRE UDRE0
#define UART_RXC RXC0
#define TXC_BIT TXC0

/* Timer 0 of the ATmega128 has its own prescaler codes: clk/256 is CS02|CS01. */
#define TICK_TIMER_INIT() do { TCCR0 = _BV(WGM01) | _BV(CS02) | _BV(CS01); OCR0 = 249; TIMSK |= _BV(OCIE0); } while (0)
#define TICK_VECT TIMER0_COMP_vect

/* Interrupt input INT0 (PD0), falling edge, pull-up on. */
#define INT0_PIN_MASK _BV(PD0)
#define INT0_INIT() do { DDRD &= ~_BV(PD0); PORTD |= _BV(PD0); EICRA = (EICRA & ~(_BV(ISC00))) | _BV(ISC01); EIFR = _BV(INTF0); EIMSK |= _BV(INT0); } while (0)

/* D/A channels 0 and 1: OC1A (PB5) and OC1B (PB6). */
#define PWM_DDR DDRB
#define PWM_BIT_A PB5
#define PWM_BIT_B PB6

#else
#error "Pyxon runtime: build for the ATmega32 or the ATmega128"
#endif

#endif
