/* The board side of the serial link: the identification, the program upload with its
 * echo, the entry into the bootloader, and the reports of runtime errors. */
#include <avr/interrupt.h>
#include <avr/pgmspace.h>

#include "machine.h"

#define UPLOAD 0x02
#define ENTER_BOOTLOADER 'B'
/* Time a host may leave between two bytes of the upload before the board gives up. */
#define BYTE_TIMEOUT_MS 3000u

static const char identification[] PROGMEM = "Zarvek " BOARD_NAME " Laufzeit 1.0\r";

/* Error texts in the board's character set (cp1252), as the console shows them. */
static const char t1[] PROGMEM = "Aufrufstack \xDC" "berlauf";
static const char t2[] PROGMEM = "R\xFC" "cksprung nicht m\xF6" "glich";
static const char t3[] PROGMEM = "Stack \xDC" "berlauf";
static const char t4[] PROGMEM = "Stack Unterlauf";
static const char t5[] PROGMEM = "Speicherplatz existiert nicht";
static const char t6[] PROGMEM = "Zugriffsverletzung beim Lesen von Systemvariable";
static const char t7[] PROGMEM = "Zugriffsverletzung beim Schreiben auf Systemvariable";
static const char t8[] PROGMEM = "\xD6" "ffnen einer bereits offenen Datei";
static const char t9[] PROGMEM = "Schlie\xDF" "en einer unge\xF6" "ffneten Datei";
static const char t10[] PROGMEM = "Datei nicht zum Lesen ge\xF6" "ffnet";
static const char t11[] PROGMEM = "Dateiende erreicht";
static const char t12[] PROGMEM = "Datei nicht zum Schreiben ge\xF6" "ffnet";
static const char t13[] PROGMEM = "Speicherende erreicht";
static const char t14[] PROGMEM = "Ung\xFC" "ltige Baudrate";
static const char t15[] PROGMEM = "Ung\xFC" "ltige Interruptart";
static const char t255[] PROGMEM = "Ung\xFC" "ltiges Token";
static const char* const texts[] PROGMEM = {t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11, t12, t13, t14, t15};

static void send_decimal(uint16_t value) {
  char digits[5];
  uint8_t n = 0;
  do {
    digits[n++] = (char)('0' + value % 10);
    value /= 10;
  } while (value);
  while (n) uart_send((uint8_t)digits[--n]);
}

/* "Laufzeitfehler bei Adresse N: TEXT" on a line of its own. */
void report_error_text(const char* prefix, uint8_t number) {
  uart_send('\r');
  uart_send('\n');
  uart_send_text_P(PSTR("Laufzeitfehler bei Adresse "));
  send_decimal(vm.instr_start);
  uart_send(':');
  uart_send(' ');
  for (; *prefix; ++prefix) uart_send((uint8_t)*prefix);
  if (number >= 1 && number <= 15) uart_send_text_P((const char*)pgm_read_word(&texts[number - 1]));
  else if (number == E_INVALID_TOKEN) uart_send_text_P(t255);
  else send_decimal(number);
  uart_send('\r');
  uart_send('\n');
}

/* The memory byte of the last upload: "E" (the default) puts the program on the serial
 * EEPROM when one answers on the bus, "I" in the chip's own EEPROM. */
static uint8_t memory = 'E';

/* The internal header's length word says where the program is: a length, or this mark
 * for a program on the serial EEPROM, or 0xFFFF for none. */
#define ON_SERIAL_EEPROM 0xFFFEu

static void use_memory(uint8_t external) {
  program_external = external;
  program_size = external ? SERIAL_PROGRAM_SIZE : INTERNAL_PROGRAM_SIZE;
}

/* Makes the stored image the program: its header, then the internal mark for a program
 * on the serial EEPROM. */
static void commit_header(uint16_t length) {
  prog_write(2, 0);
  prog_write(3, 0);
  prog_write(1, (uint8_t)length);
  prog_write(0, (uint8_t)(length >> 8));
  if (program_external) {
    ee_write(1, (uint8_t)ON_SERIAL_EEPROM);
    ee_write(0, (uint8_t)(ON_SERIAL_EEPROM >> 8));
  }
}

/* The token code stream: its length (16 bits, high byte first) and the image, every byte
 * echoed once it is stored. The header becomes valid only with the last byte, before its
 * echo: a broken upload leaves no half program that would start, and once the host has
 * the last echo the program is there even if the power goes. A program too large for the
 * program memory is refused by answering its length with a wrong echo. */
static uint8_t receive_program(void) {
  int16_t high = uart_take_timeout(BYTE_TIMEOUT_MS);
  if (high < 0) return 0;
  ee_write(0, 0xFF); /* no program until this one is complete */
  ee_write(1, 0xFF);
  use_memory(memory == 'E' && serial_present());
  uint16_t room = program_size - 4;
  if ((uint16_t)high << 8 > room) {
    uart_send((uint8_t)~high);
    return 0;
  }
  uart_send((uint8_t)high);
  int16_t low = uart_take_timeout(BYTE_TIMEOUT_MS);
  if (low < 0) return 0;
  uint16_t length = (uint16_t)high << 8 | (uint8_t)low;
  if (length > room) {
    uart_send((uint8_t)~low);
    return 0;
  }
  uart_send((uint8_t)low);
  prog_write(0, 0xFF);
  prog_write(1, 0xFF);
  for (uint16_t i = 0; i < length; ++i) {
    int16_t c = uart_take_timeout(BYTE_TIMEOUT_MS);
    if (c < 0) return 0;
    prog_write((uint16_t)(4 + i), (uint8_t)c);
    if (i + 1 == length) commit_header(length);
    uart_send((uint8_t)c);
  }
  if (length == 0) commit_header(0);
  return 1;
}

static uint8_t program_stored(void) {
  uint16_t length = (uint16_t)ee_read(0) << 8 | ee_read(1);
  if (length == ON_SERIAL_EEPROM) {
    use_memory(1);
    length = (uint16_t)prog_read(0) << 8 | prog_read(1);
    return serial_present() && length <= SERIAL_PROGRAM_SIZE - 4;
  }
  use_memory(0);
  return length <= INTERNAL_PROGRAM_SIZE - 4;
}

static void run_program(void) {
  machine_reset();
  machine_run();
  if (link_probe_seen) {
    link_probe_seen = 0;
    pyxon_state = STATE_IDLE;
    uart_send_text_P(identification);
  }
}

static void command(int16_t c) {
  switch (c) {
    case LINK_PROBE: uart_send_text_P(identification); break;
    case UPLOAD:
      pyxon_state = STATE_IDLE;
      if (receive_program()) run_program();
      break;
    case ENTER_BOOTLOADER: {
      cli();
      void (*boot)(void) = (void (*)(void))(uintptr_t)(BOOT_START / 2);
      boot();
      break;
    }
    case 'E':
    case 'I': memory = (uint8_t)c; break;
    default: break;
  }
}

/* A stored program starts after half a second in which a host can reach the board
 * first (a program that runs does not listen for the link). */
void link_start(void) {
  if (program_stored()) {
    int16_t c = uart_take_timeout(500);
    if (c < 0) run_program();
    else command(c);
  }
  for (;;) {
    int16_t c = uart_take_timeout(0xFFFF);
    if (c >= 0) command(c);
  }
}
