#include "simulation/object_bindings.h"

#include <fstream>
#include <sstream>

#include "simulation/run_control.h"
#include "simulation/variable_view.h"
#include "sim_fixture.h"

namespace zarvek::test {
namespace {

// Puts an object into a cell as the settings grid would leave it.
void Place(TObjectGrid& grid, int x, int y, uint16_t type, const std::string& name,
           std::vector<std::string> slots = {}) {
  grid.Select(x, y);
  ASSERT_TRUE(grid.Insert(type));
  ASSERT_EQ(grid.SelectedX(), x);
  ASSERT_TRUE(grid.EditSetting(0, name));
  for (size_t s = 0; s < slots.size(); ++s) ASSERT_TRUE(grid.EditSetting(static_cast<int>(s + 1), slots[s]));
}

TEST(ObjectBindings, LedsSwitchesWheelsAndGaugesMeetTheRunningProgram) {
  TSimRun run;
  ASSERT_TRUE(run.Start("DIM led AS BOOLEAN PORT[1, 3]\n"
                        "DIM taste AS BOOLEAN PORT[2, 1]\n"
                        "DIM poti AS INTEGER AD[3]\n"
                        "DIM ausgang AS BYTE DA[1]\n"
                        "DIM zaehler AS BYTE\n"
                        "led = -1\n"
                        "zaehler = 42\n"
                        "PRINT taste; \" \"; poti\n"
                        "ausgang = poti\n"
                        "led = 0\n"  // line 10
                        "PRINT taste\n"
                        "END\n",
                        {10}));
  TObjectGrid grid;
  Place(grid, 0, 0, objecttype::LedRed, "rot", {"led", "", "1"});
  Place(grid, 1, 0, objecttype::LedGreen, "gruen", {"led", "", "0"});
  Place(grid, 0, 1, objecttype::Switch, "taste", {"taste", "", "1"});
  Place(grid, 0, 2, objecttype::AnalogWheel, "gross", {"poti", "100"});
  Place(grid, 1, 2, objecttype::AnalogWheel, "klein", {"poti", "40"});
  Place(grid, 0, 3, objecttype::AnalogGauge, "anzeige", {"ausgang"});
  Place(grid, 0, 4, objecttype::VariableNumerical, "zaehler");
  TObjectBindings bindings(grid, run.plan.symbols, run.hw);

  grid.MouseDown(0, 1, TMouseButton::Left, 0, 0);  // the switch is held down
  EXPECT_FALSE(bindings.InputPass(run.access.get()).error);
  ASSERT_EQ(run.Run(TRunMode::ToBreakpoint), TSliceEnd::Paused);
  EXPECT_EQ(run.listener.output, "-1 100\r\n");  // the larger wheel on the channel wins
  TPassResult out = bindings.OutputPass(run.access.get());
  EXPECT_FALSE(out.error);
  EXPECT_TRUE(out.repaint);
  EXPECT_EQ(grid.At(0, 0).pictureIndex, 3);  // red lit
  EXPECT_EQ(grid.At(1, 0).pictureIndex, 2);  // active at 0: dark
  EXPECT_EQ(grid.At(0, 3).slots[1].text, "100");
  EXPECT_EQ(TObjectGrid::Caption(grid.At(0, 3)), "anzeige(100)");
  EXPECT_EQ(bindings.DisplayedValue(0, 4), "42");
  EXPECT_FALSE(bindings.OutputPass(run.access.get()).repaint);  // nothing changed since

  grid.MouseUp(0, 1);
  EXPECT_FALSE(bindings.InputPass(run.access.get()).error);
  ASSERT_EQ(run.Run(TRunMode::Run), TSliceEnd::Ended);
  EXPECT_EQ(run.listener.output, "-1 100\r\n0\r\n");
  out = bindings.OutputPass(run.access.get());
  EXPECT_TRUE(out.repaint);
  EXPECT_EQ(grid.At(0, 0).pictureIndex, 0);
  EXPECT_EQ(grid.At(1, 0).pictureIndex, 5);
}

TEST(ObjectBindings, TheRunningLightExampleLightsItsLedsInOrder) {
  std::ifstream file(ZARVEK_SOURCE_DIR "/examples/lauflicht.bas", std::ios::binary);
  std::stringstream source;
  source << file.rdbuf();
  TSimRun run;
  ASSERT_TRUE(run.Start(source.str(), {18}));  // PAUSE 5, after the pattern went out
  TObjectGrid grid;
  for (int bit = 0; bit < 8; ++bit)
    Place(grid, bit, 0, objecttype::LedGreen, "L" + std::to_string(bit), {"leds", std::to_string(bit + 1), "1"});
  TObjectBindings bindings(grid, run.plan.symbols, run.hw);
  for (int step = 0; step < 16; ++step) {
    bindings.InputPass(run.access.get());
    ASSERT_EQ(run.Run(TRunMode::ToBreakpoint), TSliceEnd::Paused) << step;
    EXPECT_TRUE(bindings.OutputPass(run.access.get()).repaint);
    std::string lit;
    for (int bit = 0; bit < 8; ++bit) lit += grid.At(bit, 0).pictureIndex == 5 ? '*' : '.';
    std::string expected(8, '.');
    expected[static_cast<size_t>(step % 8)] = '*';
    EXPECT_EQ(lit, expected) << step;
  }
  EXPECT_EQ(run.Run(TRunMode::ToBreakpoint), TSliceEnd::Ended);
}

TEST(ObjectBindings, SwitchActiveAtZeroReadsOneWhileReleasedAndAnLedSeesInputs) {
  TSimulatedHardware hw;
  TProgramSymbols symbols({}, {{"PORTB", "2", 0, hc05::asmsymbol::Constant}, {"PIN", "0", 1, hc05::asmsymbol::Constant}});
  TObjectGrid grid;
  Place(grid, 0, 0, objecttype::Switch, "s", {"PORTB", "PIN", "0"});
  Place(grid, 0, 1, objecttype::LedYellow, "l", {"PORTB", "1", "1"});
  TObjectBindings bindings(grid, symbols, hw);
  EXPECT_FALSE(bindings.InputPass(nullptr).error);
  EXPECT_EQ(hw.inputPorts[1].load(), 0x01);  // released, active at 0: reads 1
  bindings.OutputPass(nullptr);
  EXPECT_EQ(grid.At(0, 1).pictureIndex, 4);  // lit by the input alone
  grid.MouseDown(0, 0, TMouseButton::Left, 0, 0);
  bindings.InputPass(nullptr);
  EXPECT_EQ(hw.inputPorts[1].load(), 0x00);
  bindings.OutputPass(nullptr);
  EXPECT_EQ(grid.At(0, 1).pictureIndex, 1);
}

TEST(ObjectBindings, PortsResolveThroughAssemblerNamesAndTheThreePortKinds) {
  Tlabel bitPort{"lampe", 11, "", {}, {}, 0, -1, -1, Kinds(kind::Bit, kind::Port), {}, false};
  Tlabel bytePort{"bport", 2, "", {}, {}, 0, -1, -1, Kinds(kind::Byte, kind::Port), {}, false};
  Tlabel wordPort{"wport", 1, "", {}, {}, 0, -1, -1, Kinds(kind::Word, kind::Port), {}, false};
  TProgramSymbols symbols({bitPort, bytePort, wordPort},
                          {{"PORTC", "3", 0, hc05::asmsymbol::Constant}, {"B5", "5", 1, hc05::asmsymbol::Constant}});
  auto resolve = [&](const std::string& port, const std::string& bit) {
    TSimObject o;
    o.type = objecttype::LedRed;
    o.slots[0].text = port;
    o.slots[1].text = bit;
    int row = 0;
    const std::optional<TPortBinding> b = ResolvePort(o, symbols, row);
    return b ? std::to_string(b->port) + "." + std::to_string(b->bit) : "row " + std::to_string(row);
  };
  EXPECT_EQ(resolve("PORTC", "B5"), "3.5");
  EXPECT_EQ(resolve("portc", "4"), "3.3");    // names without regard to case, numbers count from 1
  EXPECT_EQ(resolve("LAMPE", "egal"), "2.3");  // bit 11: port 2, bit 3
  EXPECT_EQ(resolve("bport", "8"), "3.7");
  EXPECT_EQ(resolve("wport", "10"), "4.1");    // word port 1, bit 9: byte port 3
  EXPECT_EQ(resolve("wport", "3"), "3.2");
  EXPECT_EQ(resolve("unbekannt", "1"), "row 1");
  EXPECT_EQ(resolve("bport", "x"), "row 2");
  EXPECT_EQ(resolve("bport", "9"), "row 2");
  EXPECT_EQ(resolve("PORTC", "0"), "row 2");
}

TEST(ObjectBindings, RowEditorsOfferTheProgramsPortsAndChannels) {
  TSimRun run;
  ASSERT_TRUE(run.Start("DIM a AS BYTE PORT[2]\nDIM b AS BOOLEAN PORT[1, 1]\nDIM c AS BYTE AD[2]\n"
                        "DIM d AS BYTE DA[1]\nDIM e AS BYTE\nEND\n",
                        {}, profile::Pyxon32, "PB EQU 1\r\nIMM EQU #3\r\n"));
  EXPECT_EQ(SettingChoices(slotkind::Port, run.plan.symbols), (std::vector<std::string>{"PB", "a", "b"}));
  EXPECT_EQ(SettingChoices(slotkind::Active, run.plan.symbols), (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(SettingChoices(slotkind::AdChannel, run.plan.symbols), std::vector<std::string>{"c"});
  EXPECT_EQ(SettingChoices(slotkind::DaChannel, run.plan.symbols), std::vector<std::string>{"d"});
  EXPECT_TRUE(SettingChoices(slotkind::Value, run.plan.symbols).empty());
}

TEST(ObjectBindings, AHeldInterruptButtonRunsTheHandlerAgainAfterEachReturn) {
  TSimRun run;
  ASSERT_TRUE(run.Start("DIM hits, spins AS INTEGER\n"
                        "SUB INTERRUPT\n"
                        "  hits = hits + 1\n"
                        "END SUB\n"
                        "INTERRUPT ON\n"
                        "DO\n"
                        "  spins = spins + 1\n"
                        "LOOP UNTIL hits > 2 OR spins > 20000\n"
                        "PRINT hits; \" \"; spins < 20000\n"
                        "END\n"));
  TObjectGrid grid;
  Place(grid, 0, 0, objecttype::Interrupt, "knopf");
  TObjectBindings bindings(grid, run.plan.symbols, run.hw);
  ASSERT_EQ(run.Run(TRunMode::Run, 2000), TSliceEnd::Budget);  // the loop spins, nothing pressed
  bindings.InputPass(run.access.get());
  ASSERT_EQ(run.Run(TRunMode::Run, 2000), TSliceEnd::Budget);
  const TVariableNode* hits = nullptr;
  TVariableView view(run.plan.symbols);
  auto hitCount = [&] {
    view.RebuildGlobals(*run.access);
    for (const TVariableNode& v : view.Branches()[0].children)
      if (v.text.rfind("hits=", 0) == 0) hits = &v;
    return hits ? hits->text : std::string("none");
  };
  EXPECT_EQ(hitCount(), "hits=0");

  grid.MouseDown(0, 0, TMouseButton::Left, 0, 0, &run.hw);
  EXPECT_EQ(run.hw.interruptLine.load(), 1);
  // Held down: every tick raises it again once the handler has returned.
  bindings.InputPass(run.access.get());
  bindings.InputPass(run.access.get());  // still in service: not raised twice
  ASSERT_EQ(run.Run(TRunMode::Run, 500), TSliceEnd::Budget);
  EXPECT_EQ(hitCount(), "hits=1");
  bindings.InputPass(run.access.get());
  ASSERT_EQ(run.Run(TRunMode::Run, 500), TSliceEnd::Budget);
  EXPECT_EQ(hitCount(), "hits=2");
  bindings.InputPass(run.access.get());
  ASSERT_EQ(run.Run(TRunMode::Run), TSliceEnd::Ended);
  EXPECT_EQ(run.listener.output, "3 -1\r\n");
  grid.MouseUp(0, 0, &run.hw);
  EXPECT_EQ(run.hw.interruptLine.load(), 0);
  EXPECT_EQ(grid.At(0, 0).pictureIndex, objectpicture::Released);
}

TEST(ObjectBindings, ABadBindingPausesTheRunWithItsMessage) {
  TSimRun run;
  ASSERT_TRUE(run.Start("DIM poti AS BYTE AD[1]\nDIM x AS BYTE\nDO\n  x = poti\nLOOP\n"));
  TObjectGrid grid;
  Place(grid, 0, 0, objecttype::Switch, "Taster", {"nirgends", "1", "1"});
  Place(grid, 1, 0, objecttype::AnalogWheel, "Regler", {"poti", "12"});
  grid.At(1, 0).slots[1].text = "300";  // as a damaged project file could bring it
  TObjectBindings bindings(grid, run.plan.symbols, run.hw);
  TRunControl control(profile::Pyxon32);
  control.Command(TRunCommand::Run);
  const TPassResult in = bindings.InputPass(run.access.get());
  ASSERT_TRUE(in.error);
  EXPECT_EQ(in.error->x, 0);
  EXPECT_EQ(in.error->row, 1);
  const std::string message = ObjectErrorMessage(*in.error);
  EXPECT_EQ(message,
            "Das Objekt Taster hat für das Attribut I/O Port den ungültigen Wert \"nirgends\". Sie können das "
            "Objekt jetzt neu konfigurieren und die Simulation fortsetzen.");
  const TRunOutcome paused = control.ObjectError(message);
  EXPECT_EQ(control.RunKind(), runkind::Paused);
  EXPECT_EQ(paused.machineRunMode, std::optional<TRunMode>(TRunMode::Pause));
  EXPECT_EQ(paused.message, message);

  // With the switch deleted, the next failure is the wheel's value, named as such.
  grid.Select(0, 0);
  ASSERT_TRUE(grid.Delete());
  const TPassResult again = bindings.InputPass(run.access.get());
  ASSERT_TRUE(again.error);
  EXPECT_EQ(ObjectErrorMessage(*again.error),
            "Das Objekt Regler hat für das Attribut Wert den ungültigen Wert \"300\". Sie können das Objekt jetzt "
            "neu konfigurieren und die Simulation fortsetzen.");
  grid.At(1, 0).slots[1].text = "12";
  EXPECT_FALSE(bindings.InputPass(run.access.get()).error);
  EXPECT_EQ(run.hw.adInputs[0].load(), 12);
}

// The emulated controller's pins, as a test sets them.
class TFakePins final : public TTesselPins {
 public:
  bool PortPin(int port, int bit) override { return (ports[static_cast<size_t>(port)] >> bit) & 1; }
  bool AnalogPin(int bit) override { return (analog >> bit) & 1; }
  uint8_t ReadByte(uint16_t address) override { return memory[address]; }
  void SetMemoryBit(uint16_t address, int bit) override { memory[address] |= static_cast<uint8_t>(1u << bit); }
  std::array<uint8_t, 3> ports{};
  uint8_t analog = 0;
  std::array<uint8_t, 512> memory{};
};

TEST(ObjectBindings, TesselPortsMapToPortsBAndCTheAnalogPortAndMemory) {
  TSimulatedHardware hw;
  TProgramSymbols symbols({}, {{"PB", "1", 0, hc05::asmsymbol::Constant}, {"PC", "2", 1, hc05::asmsymbol::Constant},
                               {"AN", "3", 2, hc05::asmsymbol::Constant}, {"RAM", "200", 3, hc05::asmsymbol::Constant}},
                          true);
  TObjectGrid grid;
  Place(grid, 0, 0, objecttype::Switch, "b", {"PB", "2", "1"});
  Place(grid, 0, 1, objecttype::Switch, "c", {"PC", "8", "0"});  // active while released
  Place(grid, 0, 2, objecttype::Switch, "a", {"AN", "4", "0"});
  Place(grid, 0, 3, objecttype::Switch, "m", {"RAM", "1", "0"});
  Place(grid, 1, 0, objecttype::LedRed, "lb", {"PB", "2", "1"});
  Place(grid, 1, 1, objecttype::LedRed, "la", {"AN", "1", "1"});
  Place(grid, 1, 2, objecttype::LedRed, "lm", {"RAM", "8", "1"});
  Place(grid, 2, 0, objecttype::Interrupt, "irq");
  TObjectBindings bindings(grid, symbols, hw);
  TFakePins pins;
  hw.inputPorts[1] = 0xFF;  // cleared at every tick
  grid.MouseDown(2, 0, TMouseButton::Left, 0, 0);
  EXPECT_FALSE(bindings.TesselInputPass(pins).error);
  EXPECT_EQ(hw.inputPorts[1].load(), 0x00);  // the pressed-at-1 switch is released
  EXPECT_EQ(hw.inputPorts[2].load(), 0x80);
  EXPECT_EQ(hw.adInputs[3].load(), 255);
  EXPECT_EQ(pins.memory[200], 0x01);
  EXPECT_EQ(hw.interruptLine.load(), 1);

  pins.ports[1] = 0x02;
  pins.analog = 0x01;
  pins.memory[200] = 0x80;
  EXPECT_FALSE(bindings.TesselOutputPass(pins, nullptr).error);
  EXPECT_EQ(grid.At(1, 0).pictureIndex, 3);
  EXPECT_EQ(grid.At(1, 1).pictureIndex, 3);
  EXPECT_EQ(grid.At(1, 2).pictureIndex, 3);
  pins.ports[1] = 0;
  bindings.TesselOutputPass(pins, nullptr);
  EXPECT_EQ(grid.At(1, 0).pictureIndex, 0);
  grid.MouseUp(2, 0);
  bindings.TesselInputPass(pins);
  EXPECT_EQ(hw.interruptLine.load(), 0);
}

}  // namespace
}  // namespace zarvek::test

namespace zarvek::test {
namespace {

TEST(ObjectBindings, VariableDisplaysShowValuesAndAssemblerLabels) {
  Tlabel word{"stand", 0, "", {}, {}, 0, -1, -1, KindBit(kind::Word), {}, false};
  Tlabel bit{"frei", 17, "", {}, {}, 0, -1, -1, KindBit(kind::Bit), {}, false};
  TProgramSymbols symbols({word, bit}, {{"tabelle", "$0120", 0, hc05::asmsymbol::Label}});
  std::array<uint8_t, 256> ram{};
  ram[161] = 0x80;  // stand = $8000
  ram[163] = 0x02;  // bit 17: byte 2, bit 1
  TTesselRamAccess access([&](uint16_t a) { return ram[a & 0xFF]; });
  TSimulatedHardware hw;
  TObjectGrid grid;
  Place(grid, 0, 0, objecttype::VariableNumerical, "stand");
  Place(grid, 1, 0, objecttype::VariableNumerical, "FREI");
  Place(grid, 2, 0, objecttype::VariableNumerical, "tabelle");
  TObjectBindings bindings(grid, symbols, hw);
  TPassResult out = bindings.OutputPass(&access);
  EXPECT_FALSE(out.error);
  EXPECT_EQ(bindings.DisplayedValue(0, 0), "-32768");
  EXPECT_EQ(bindings.DisplayedValue(1, 0), "-1");
  EXPECT_EQ(bindings.DisplayedValue(2, 0), "Assembler Label tabelle");
  // The settings show the same value in the "Wert" row.
  grid.Select(2, 0);
  const std::vector<TSettingsRow> rows = grid.SettingsRows(bindings.DisplayedValue(2, 0));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].caption, "Wert");
  EXPECT_EQ(rows[1].text, "Assembler Label tabelle");

  // A name that is neither: the object's name is the failing attribute.
  Place(grid, 3, 0, objecttype::VariableNumerical, "nichts");
  out = bindings.OutputPass(&access);
  ASSERT_TRUE(out.error);
  EXPECT_EQ(out.error->x, 3);
  EXPECT_EQ(ObjectErrorMessage(*out.error),
            "Das Objekt nichts hat für das Attribut Name: den ungültigen Wert \"nichts\". Sie können das Objekt "
            "jetzt neu konfigurieren und die Simulation fortsetzen.");
}

}  // namespace
}  // namespace zarvek::test
