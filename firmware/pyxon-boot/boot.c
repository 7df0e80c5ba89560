/* The Pyxon bootloader: lives in the boot section, takes a new runtime page by page over
 * the serial line and writes it to flash, then starts it.
 *
 * Exchange: the prompt ends in '>' ("B" asks for it again); '<' answers with '>' and the chip's identification;
 * then page packets (page number high and low, the page's bytes, their sum modulo 256),
 * each answered '!' when written or '?' when refused; the end packet (page number 0xFFFF,
 * 256 bytes, one more byte) finishes and starts the runtime. Page 0 (the runtime's reset
 * vector) is erased when the first page arrives and written last, so an update broken
 * off halfway leaves no runtime that would start. Pages in the boot section are refused
 * unless they are empty, so no update can overwrite the bootloader. */
#include <avr/boot.h>
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/pgmspace.h>
#include <stdint.h>

#if defined(__AVR_ATmega32__)
#define IDENT "EndS2!"
#define PAGES 256u
#define BOOT_START 0x7800ul
#define UCSRA_ UCSRA
#define UCSRB_ UCSRB
#define UBRRL_ UBRRL
#define UBRRH_ UBRRH
#define UDR_ UDR
#define UCSRB_INIT (_BV(RXEN) | _BV(TXEN))
#define RXC_ RXC
#define UDRE_ UDRE
#elif defined(__AVR_ATmega128__)
#define IDENT "DpcT4!"
#define PAGES 512u
#define BOOT_START 0x1F800ul
#define UCSRA_ UCSR0A
#define UCSRB_ UCSR0B
#define UBRRL_ UBRR0L
#define UBRRH_ UBRR0H
#define UDR_ UDR0
#define UCSRB_INIT (_BV(RXEN0) | _BV(TXEN0))
#define RXC_ RXC0
#define UDRE_ UDRE0
#else
#error "Pyxon bootloader: build for the ATmega32 or the ATmega128"
#endif

#define PAGE SPM_PAGESIZE
#define TIMEOUT_SECONDS 2u

static void tx(uint8_t c) {
  while (!(UCSRA_ & _BV(UDRE_))) {}
  UDR_ = c;
}

/* Texts stay in RAM: on the ATmega128 the boot section lies above 64 KB, out of reach
 * of the near program-memory reads. */
static void tx_text(const char* text) {
  for (; *text; ++text) tx((uint8_t)*text);
}

/* The next received byte, or -1 when none came for the given number of seconds. The
 * bootloader polls: it runs without interrupts, so it needs no vectors of its own. */
static int16_t rx(uint8_t limit) {
  uint8_t seconds = 0;
  TCNT1 = 0;
  TIFR = _BV(OCF1A);
  while (!(UCSRA_ & _BV(RXC_))) {
    if (TIFR & _BV(OCF1A)) {
      TIFR = _BV(OCF1A);
      if (++seconds >= limit) return -1;
    }
  }
  return UDR_;
}

static uint8_t runtime_present(void) {
#if FLASHEND > 0xFFFF
  return pgm_read_word_far(0) != 0xFFFF;
#else
  return pgm_read_word(0) != 0xFFFF;
#endif
}

static uint8_t flash_byte(uint32_t address) {
#if FLASHEND > 0xFFFF
  return pgm_read_byte_far(address);
#else
  return pgm_read_byte((uint16_t)address);
#endif
}

static void erase_page(uint32_t address) {
  boot_page_erase(address);
  boot_spm_busy_wait();
  boot_rww_enable();
}

/* Writes one page and reads it back; 1 when the flash holds it. */
static uint8_t write_page(uint32_t address, const uint8_t* data) {
  boot_page_erase(address);
  boot_spm_busy_wait();
  for (uint16_t i = 0; i < PAGE; i += 2) boot_page_fill(address + i, data[i] | (uint16_t)data[i + 1] << 8);
  boot_page_write(address);
  boot_spm_busy_wait();
  boot_rww_enable();
  for (uint16_t i = 0; i < PAGE; ++i)
    if (flash_byte(address + i) != data[i]) return 0;
  return 1;
}

static void start_runtime(void) {
  /* the serial line stays as it is: the runtime sets it up again, and a character still
   * leaving is not cut off */
  TCCR1B = 0;
  __asm__ volatile("jmp 0");
}

static uint8_t page[PAGE], first_page[PAGE];

/* Receives page packets until the end packet (1) or a broken exchange (0). */
static uint8_t receive_pages(void) {
  uint8_t have_first = 0, erased_first = 0;
  for (;;) {
    int16_t high = rx(TIMEOUT_SECONDS), low = high < 0 ? -1 : rx(TIMEOUT_SECONDS);
    if (low < 0) return 0;
    uint16_t number = (uint16_t)high << 8 | (uint8_t)low;
    uint16_t length = number == 0xFFFF ? 256 : PAGE;
    uint8_t sum = 0;
    for (uint16_t i = 0; i < length; ++i) {
      int16_t c = rx(TIMEOUT_SECONDS);
      if (c < 0) return 0;
      if (number != 0xFFFF) page[i] = (uint8_t)c;
      sum = (uint8_t)(sum + c);
    }
    int16_t check = rx(TIMEOUT_SECONDS);
    if (check < 0) return 0;
    if (number == 0xFFFF) {
      if (have_first && !write_page(0, first_page)) return 0;
      return 1;
    }
    uint32_t address = (uint32_t)number * PAGE;
    uint8_t empty = 1;
    for (uint16_t i = 0; i < PAGE; ++i) empty &= page[i] == 0xFF;
    uint8_t ok = (uint8_t)check == sum && number < PAGES;
    if (ok && address + PAGE > BOOT_START) {
      ok = empty; /* nothing to write there, and nothing may be */
    } else if (ok) {
      if (!erased_first) {
        erase_page(0);
        erased_first = 1;
      }
      if (number == 0) {
        for (uint16_t i = 0; i < PAGE; ++i) first_page[i] = page[i];
        have_first = 1;
      } else {
        ok = write_page(address, page);
      }
    }
    tx(ok ? '!' : '?');
  }
}

int main(void) {
  cli();
  UBRRH_ = 0;
  UBRRL_ = 51; /* 19200 baud at 16 MHz */
  UCSRB_ = UCSRB_INIT;
  OCR1A = 15624; /* one second: clk/1024, 15625 counts */
  TCCR1A = 0;
  TCCR1B = _BV(WGM12) | _BV(CS12) | _BV(CS10);
  /* The prompt goes out once; a host that comes later asks with "B" and gets a bare '>',
   * which it drops when it arrives after its '<'. Nothing else is ever sent unasked, so
   * nothing can slip in before the identification. */
  tx_text("\r\nZarvek Boot>");
  for (;;) {
    /* a runtime starts after a second without a request; without one, wait for ever */
    int16_t c = rx(1);
    if (c < 0) {
      if (runtime_present()) start_runtime();
    } else if (c == 'B') {
      tx('>');
    } else if (c == '<') {
      tx('>');
      tx_text(IDENT);
      if (receive_pages() && runtime_present()) start_runtime();
      tx('>'); /* a broken update: ready for the next */
    }
  }
}
