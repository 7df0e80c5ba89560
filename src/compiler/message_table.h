// The compiler's numbered messages: code, name, and the German text around the argument
// (head, where the argument goes, tail). The one table the message texts and the named
// codes (messages.h) are generated from; sorted by code.
//   X(code, Name, head, argument, tail) with argument None, Whole, FileName or First16
#pragma once

// clang-format off
#define ZARVEK_COMPILER_MESSAGES(X) \
  X(100, LabelExpected, "Label erwartet, ", Whole, " ist kein Label.") \
  X(101, Unknown, "", Whole, " unbekannt") \
  X(102, NoStatement, "", Whole, " keine Anweisung") \
  X(103, UnterminatedString, "nicht abgeschlossener String. Zeichenketten sollten zwischen \" und \" stehen.", None, "") \
  X(104, UnexpectedCharacter, "unerwartetes Zeichen '", Whole, "'") \
  X(105, JumpTargetNotUsable, "Sprungziel ", Whole, " kann hier nicht verwendet werden") \
  X(106, InvalidName, "", Whole, " ist eine ungültige Bezeichnung") \
  X(107, Expected, "", Whole, " erwartet") \
  X(108, TypeExpected, "", Whole, ": Typ deklaration erwartet ") \
  X(109, EndExpected, "Ende erwartet ", None, "") \
  X(110, EndOrPortExpected, "", Whole, ": Ende oder 'Port' erwartet.") \
  X(111, VariableNameExpected, "", Whole, ": Variablenname erwartet.") \
  X(112, EqualsExpected, "= erwartet.", None, "") \
  X(113, Overflow, "(", Whole, ") Überlauf") \
  X(114, OperatorExpectedAfter, "", Whole, ": Operator erwartet") \
  X(115, AlreadyDefined, "", Whole, ": bereits definiert") \
  X(116, VariableExpectedNamed, "", Whole, ": Variable erwartet") \
  X(117, NoVariableMemory, "", Whole, ": kein passender Variablen Speicher mehr vorhanden") \
  X(118, BytePortIndex1To3, "Der Index muss zwischen Byte Nr. 1 und 3 liegen.", None, "") \
  X(120, BitIndex1To8, "Der Index muss zwischen Bit Nr. 1 und 8 liegen.", None, "") \
  X(121, ConstantExpected, "", Whole, ": Konstante erwartet") \
  X(122, IncompatibleString, "", Whole, ": Inkompatibler Typ String") \
  X(123, ReservedName, "", Whole, " reserviert") \
  X(124, ReservedLabelName, "", Whole, " Name für Label ist reserviert") \
  X(125, AssemblerName, "", Whole, " Name schon im Assembler Teil vergeben") \
  X(126, NotDeclared, "", Whole, " Variable wurde zuvor nicht deklariert") \
  X(127, NotAssignable, "", Whole, ": Der linken Seite kann nichts zugewiesen werden") \
  X(130, AdNeedsByte, "erwartet BYTE als passende Typdeklaration zu AD.", None, "") \
  X(131, DaNeedsByte, "erwartet BYTE als passende Typdeklaration zu DA.", None, "") \
  X(132, AdIndex1To8, "Der Index muss zwischen AD Nr. 1 und 8 liegen.", None, "") \
  X(133, DaIndex1To2, "Der Index muss zwischen DA Nr. 1 und 2 liegen.", None, "") \
  X(134, DaWriteOnly, "Auf einen DA Port kann nur geschrieben werden. (", Whole, ")") \
  X(135, AdReadOnly, "Von einem AD Port kann nur gelesen werden. (", Whole, ")") \
  X(136, AdNotInitialisable, "AD Port kann nur gelesen werden und nicht initialisiert. (", Whole, ")") \
  X(137, PortExpected, "", Whole, ": Port erwartet.") \
  X(138, InkeyReadOnly, "Von INKEY$ können nur empfangene Zeichen gelesen werden", None, "") \
  X(139, AssemblerAddressOnlyCalled, "", Whole, ": Assembler Adressen können nur zum Aufrufen verwendet werden. ") \
  X(140, EndOrBraceExpected, "Ende oder '{' erwartet.", None, "") \
  X(141, CallTargetExpected, "SUB, FUNCTION, Assembler Sprungziel oder Adresse erwartet", None, "") \
  X(142, LoopWithoutDo, "'LOOP' ohne 'DO'", None, "") \
  X(143, UntilOrWhileExpected, "erwartet 'UNTIL' oder 'WHILE'.", None, "") \
  X(144, DoWithoutLoop, "'DO' ohne 'LOOP'.", None, "") \
  X(145, EndExpectedHeadLoop, "Ende erwartet (Schleife ist Kopf-gesteuert).", None, "") \
  X(146, VariableExpected, "Variable erwartet.", None, "") \
  X(147, ToExpected, "'TO' erwartet.", None, "") \
  X(148, EndOrStepExpected, "Ende oder 'STEP' erwartet.", None, "") \
  X(149, OperatorExpected, "Operator erwartet.", None, "") \
  X(150, NextWithoutFor, "'NEXT' ohne 'FOR'.", None, "") \
  X(151, NextVariableMismatch, "Die 'NEXT' Variable passt nicht zur 'FOR' Anweisung.", None, "") \
  X(152, ForWithoutNext, "'FOR' ohne 'NEXT'.", None, "") \
  X(153, ForOnDaOutput, "Auf einen DA Port kann nur geschrieben werden, die 'FOR' Anweisung benötigt Variablen, die auch ausgelesen werden können.", None, "") \
  X(154, ThenExpected, "'THEN' erwartet.", None, "") \
  X(155, EndIfExpected, "'END IF' erwartet.", None, "") \
  X(156, EndIfWithoutIf, "'END IF' ohne 'IF'.", None, "") \
  X(157, ElseWithoutIf, "'ELSE' ohne 'IF'", None, "") \
  X(158, ExitWhatExpected, "erwartet 'DO', 'SUB', 'FUNCTION' oder 'FOR'.", None, "") \
  X(159, ExitDoWithoutDo, "'EXIT DO' ohne 'DO'.", None, "") \
  X(160, ExitForWithoutFor, "'EXIT FOR' ohne 'FOR'.", None, "") \
  X(161, LoopExpected, "erwartet 'LOOP'.", None, "") \
  X(162, NextExpected, "erwartet 'NEXT'.", None, "") \
  X(163, ProgramTooLong, "Programm ist zu lang.", None, "") \
  X(164, BitPortExpected, "erwartet eine Bit Port Variable. (", Whole, ")") \
  X(165, EndOrInterruptExpected, "Ende oder 'INTERRUPT' erwartet.", None, "") \
  X(166, GosubExpected, "'GOSUB' erwartet.", None, "") \
  X(167, InterruptExpected, "'INTERRUPT' erwartet", None, "") \
  X(168, ArrayExpected, "'ARRAY{}' erwartet.", None, "") \
  X(169, ArrayTooSmall, "Array Anzahl der Elemente muss mindestens 1 sein.", None, "") \
  X(170, ArrayTooLarge, "Array Anzahl der Elemente zu groß.", None, "") \
  X(172, TooManyArrayValues, "dem Array werden mehr Elemente zugewiesen als definiert (", Whole, ")") \
  X(173, TooFewArrayValues, "dem Array werden nicht genug Werte (", Whole, ") zugewiesen. ") \
  X(174, ArrayIndexExpected, "'[' Array Index oder '[]' erwartet.", None, "") \
  X(175, ArrayCommaExpected, "',' mehr Array Elemente erwartet", None, "") \
  X(176, ArrayBraceExpected, "'}' weniger Array Element erwartet", None, "") \
  X(177, SemicolonExpected, "';' erwartet.", None, "") \
  X(178, HashExpected, kHashExpected, None, "") \
  X(179, ForExpected, "'FOR' erwartet.", None, "") \
  X(180, FileModeExpected, "'READ', 'WRITE' oder 'APPEND' erwartet.", None, "") \
  X(181, FileHashExpected, kHashExpected, None, "") \
  X(182, EndSubExpected, "'END SUB' erwartet.", None, "") \
  X(183, EndFunctionExpected, "'END FUNCTION' erwartet.", None, "") \
  X(184, SubHasNoResult, "Eine SUB hat keinen Rückgabewert. Sie können diese SUB mit CALL aufrufen oder FUNCTION implementieren.", None, "") \
  X(185, ProcedureNameExpected, "Bezeichnung erwartet. Benennen Sie das SUB Modul.", None, "") \
  X(186, NestedProcedure, "Ein SUB oder FUNCTION Modul kann nicht innerhalb eines anderen SUB oder FUNCTION Moduls liegen.", None, "") \
  X(187, ExitSubWithoutSub, "'EXIT SUB' ohne 'SUB'.", None, "") \
  X(188, ExitFunctionWithoutFunction, "'EXIT FUNCTION' ohne 'FUNCTION'.", None, "") \
  X(190, ExpressionExpected, "Ausdruck erwartet.", None, "") \
  X(191, SyntaxError, "syntaktisch falsch. (", Whole, ")") \
  X(192, FunctionResultOutside, "", Whole, ": Der Rückgabewert der Funktion muss innerhalb der zugehörigen Funktion festgelegt sein.") \
  X(193, LabelNameExpected, "erwartet Label", None, "") \
  X(194, BaudRateZero, "Die Übertragungsgeschwindigkeit muss größer Null sein.", None, "") \
  X(195, BaudRateNearest, "Die mögliche Übertragungsgeschwindigkeit, die unter der aktuell gewählten Taktung Ihren Vorgaben am besten entspricht, liegt bei ", Whole, ".") \
  X(196, GotoOutOfProcedure, "Mit GOTO können Sie nur innerhalb einer FUNCTION, SUB oder innerhalb des Hauptprogramms springen. (", Whole, ")") \
  X(197, OffExpected, "erwartet 'OFF'. (", Whole, ")") \
  X(198, OffExpectedUseOnInterrupt, "erwartet 'OFF'. Um die Interrupt Behandlungsroutine einzuschalten verwenden Sie 'ON INTERRUPT GOSUB'. ", None, "") \
  X(199, HandlerMustBeSub, "Interrupt Behandlungsroutinen müssen eine SUB sein.", None, "") \
  X(200, CaseExpected, "erwartet 'CASE'. (", Whole, ")") \
  X(201, CaseStatementExpected, "erwartet 'CASE' Anweisung.", None, "") \
  X(202, EndSelectWithoutSelect, "'END SELECT' ohne 'SELECT CASE'.", None, "") \
  X(203, EndSelectExpected, "'END SELECT' erwartet.", None, "") \
  X(204, CaseWithoutSelect, "'CASE' ohne 'SELECT CASE'.", None, "") \
  X(205, CaseAfterCaseElse, "erwartet 'END SELECT', da durch ein vorhergehendes 'CASE ELSE' schon alle übrigen Fälle abgedeckt werden.", None, "") \
  X(206, CaseOperatorExpected, "erwartet '=', '<>', '>', '=>', '<', oder '<='.", None, "") \
  X(207, CaseItemOrEndExpected, "erwartet ',' Ausdruck oder Ende.", None, "") \
  X(208, CaseToOrItemExpected, "erwartet 'TO', Ende oder ',' Ausdruck.", None, "") \
  X(209, BeepReadOnly, "'BEEP' kann nur gelesen werden.", None, "") \
  X(210, InterruptHandlerMissing, "Ereignisbehandlungsroutine 'SUB INTERRUPT' ... 'END SUB' fehlt.", None, "") \
  X(211, EndFunctionWithoutFunction, "'END FUNCTION' ohne 'FUNCTION'.", None, "") \
  X(212, EndSubWithoutSub, "'END SUB' ohne 'SUB'.", None, "") \
  X(213, InterruptHandlerNotCallable, "Ereignisbehandlungsroutine 'SUB INTERRUPT' kann nur durch ein Interrupt Signal aufgerufen werden.", None, "") \
  X(215, EepromSizeRange, "Die Größe des EEPROM (", Whole, ") muss zwischen 1 und 65535 liegen.") \
  X(216, ClockRange, "Die Taktrate (", Whole, ") muss zwischen 4000 und 16000 kHz liegen.") \
  X(217, EndPortOrPcfExpected, "", Whole, ": Ende, 'Port' oder 'PCF8574' erwartet.") \
  X(218, PcfUnavailable, "I²C Port Erweiterung PCF8574 ist unter Controller Version 1.x nicht verfügbar.", None, "") \
  X(219, PcfAddressExpected, "Erwartet Adresse 0..255 von der I²C Port Erweiterung PCF8574", None, "") \
  X(220, PcfType, "I²C Port Erweiterung PCF8574 muss vom Typ 'Byte' oder 'Boolean' sein.", None, "") \
  X(221, BitNumberRange, "Erwartet ein Bit 1..8 für Byte Variablen oder 1..16 für Integer Variablen", None, "") \
  X(222, NotIndexable, "Indizierung ist nicht möglich, da die Variable kein Array darstellt, das einen kleineren Datentyp enthalten könnte.", None, "") \
  X(223, NeedsController2, "", Whole, " : Diese Anweisung ist im aktuellen Profil des Hauptprojektes (Controller Version 1.1) nicht verfügbar. Ändern Sie das Profil auf Controller Version 2.x") \
  X(224, PortVariableExpected, "", Whole, " : Erwartet eine Byte Port oder Word Port Variable.") \
  X(225, SimpleVariableParameter, "Erwartet eine einfache Variable in der Parameterliste. ", Whole, " ist keine Boolean, Byte oder Integer Variable. ") \
  X(226, MoreParametersExpected, "Erwartet mehr Parameter (", Whole, ").") \
  X(227, FewerParametersExpected, "Erwartet weniger Parameter (", Whole, ").") \
  X(228, NameTooLong, "Die Bezeichnung darf nicht länger als 16 Zeichen sein: ", First16, "") \
  X(229, HandlerTakesNoParameters, "Ende erwartet. Die Sub Prozedur als Interrupt Behandlungsroutine kann keine Parameter enthalten.", None, "") \
  X(230, ArgumentCountMismatch, "Anzahl der Parameter im Aufruf stimmt nicht mit der Anzahl der Sub Prozedur überein. Die Prozedur ist mit ", Whole, " Parametern deklariert.") \
  X(231, Freq2WriteOnlyOnMicro, "Die Systemvariable FREQ2 kann in der Profileinstellung \"Micro/Mini\" des Hauptprojektes nur beschrieben werden.", None, "") \
  X(232, UnavailableOnMicro, "", Whole, ": In der Profileinstellung \"Micro/Mini\" des Hauptprojektes nicht verfügbar.") \
  X(233, MicroPortIndex, "Der Port Index in der Profileinstellung \"Micro/Mini\" des Hauptprojektes muss zwischen 1 und 6 liegen.", None, "") \
  X(234, MicroAdIndex, "Der AD Index in der Profileinstellung \"Micro/Mini\" des Hauptprojektes kann nur 1,2,5 oder 6 sein.", None, "") \
  X(235, MicroByteOrBoolean, "Der Micro/Mini Controller unterstützt nur Byte oder Boolean Datentypen.", None, "") \
  X(236, AssignmentTargetExpected, "Auf der linken Seite einer Zuweisung durch '=' muss ein Variablenname stehen.", None, "") \
  X(237, SingleCharacterExpected, "Hier kann nur ein einzelnes Zeichen zwischen \" und \" stehen, das den ASCII Code liefert.", None, "") \
  X(238, EndOfExpressionExpected, "Erwartet Ende des Ausdrucks oder einen Operator.", None, "") \
  X(239, StringOperandExpected, "Erwartet \" Zeichenkette \", eine Stringvariable$, CHR$ oder STR$.", None, "") \
  X(240, ConcatenationExpected, "Erwartet + oder & zur Verkettung von Strings.", None, "") \
  X(241, IncompatibleStringConstant, "Inkompatible Typen: String Konstante ", Whole, " und Wert.") \
  X(242, StringConstantNotAssignable, "Der linken Seite kann nichts zugewiesen werden (String Konstante).", None, "") \
  X(243, SimilarNameDeclared, "Eine Variable mit ähnlichem Namen '", Whole, "' wurde bereits deklariert.") \
  X(244, StringExpressionExpected, "Erwartet \" String \" Ausdruck, CHR$ oder STR$", None, "") \
  X(245, UnavailableOnTessel20, "", Whole, ": In der Profileinstellung \"2.0\" des Hauptprojektes nicht verfügbar.") \
  X(246, MicroBaudRates, "", Whole, ": In der Profileinstellung \"Micro/Mini\" des Hauptprojektes sind folgende Baud Einstellungen gültig: SETBAUD 9600, 9600 und SETBAUD 19200, 19200.") \
  X(247, Tessel20BaudRates, "", Whole, ": In der Profileinstellung \"2.0\" des Hauptprojektes sind folgende Baud Einstellungen gültig: SETBAUD 1200, 1200 / SETBAUD 2400, 2400 / SETBAUD 4800, 48000 / SETBAUD 9600, 9600.") \
  X(249, LinkerCrashed, "", Whole, " LINKER CRASHED") \
  X(250, AssemblerLabelMissing, "Assembler ", Whole, " Label existiert nicht.") \
  X(251, NameMustStartWithLetter, "Labels und Bezeichner dürfen nur mit einem Buchstaben beginnen.", None, "") \
  X(252, StringNameExpected, "Erwartet einen String Variablen Namen, der mit '$' endet. (", Whole, ")") \
  X(253, StringTypeExpected, "Erwaret String als Datentyp und nicht ", Whole, ".") \
  X(254, StringConstantExpected, "Erwartet eine String Konstante. ", Whole, " ist eine Stringvariable.") \
  X(255, StringValueExpected, "Erwartet eine String Konstante oder Variable, einen \" String \" Ausdruck, Chr$ oder Str$.", None, "") \
  X(256, StringNotNumeric, "Die Variable vom Typ String kann nicht in Integer, Byte oder Boolean konvertiert werden.", None, "") \
  X(257, FileNotFound, "Datei ", FileName, " nicht gefunden.") \
  X(258, FileNotAProject, "Datei ", FileName, " ist kein Projekt.") \
  X(259, FileAccessError, "Zugriffsfehler auf ", FileName, "") \
  X(260, ModuleNameTwice, "Modulname wird in diesem Projekt für unterschiedliche Module mehrfach verwendet. (", Whole, ")") \
  X(261, ModuleNamedTwice, "Ein Modulname ist für dieses Modul bereits definiert ", Whole, ".") \
  X(262, ModuleAlreadyIncluded, "Modul ist bereits in dieses Projekt integriert. (", FileName, ")") \
  X(263, ModuleIncludesItself, "Das Modul wird wiederholt in das Projekt integriert (", FileName, ")") \
  X(264, IncludeNotAtLineStart, "Die $INCLUDE Anweisung muss am Zeilenanfang stehen.", None, "") \
  X(265, BytePortIndex1To2, kBytePortIndex1To2, None, "") \
  X(266, BytePortIndex1To4, "Der Byte Port Index muss zwischen 1 und 4 liegen.", None, "") \
  X(267, ElseIfWithoutIf, "'ELSEIF' ohne 'IF'.", None, "") \
  X(268, EepromVariablesNotOnTessel, "EEPROM Variablen sind auf der Tessel nicht verfügbar.", None, "") \
  X(269, EepromVariableNotInitialisable, "EEPROM Variablen können nicht initialisiert werden: Der Variablenwert wird beim Programmstart aus dem EEPROM geladen.", None, "") \
  X(270, LocalNotInitialisable, "lokale Variable können nicht initialisiert werden.", None, "") \
  X(271, ArrayNotInitialisable, "Arrays können nicht initialisiert werden.", None, "") \
  X(272, ArrayTooBig, "Array zu groß. Reduzieren Sie die Indexgrenzen oder Dimensionen. ", Whole, "") \
  X(273, ArrayBoundsInvalid, "Array Indexgrenzen ungültig. (", Whole, ")") \
  X(274, EndExpectedNot, "Ende erwartet und nicht ", Whole, ". ") \
  X(275, PyxonOnly, "Nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. (", Whole, ")") \
  X(276, StringLengthRange, "Die String Länge muss zwischen 1 und 254 liegen. (", Whole, ")") \
  X(277, StringStarPyxonOnly, "Variablen Strings* sind nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. Sie können unter der Profileinstellung Tessel einfache String Variablen (ohne *) verwenden.", None, "") \
  X(278, StringStarExpected, "String* Variable erwartet. (", Whole, ")") \
  X(279, StringExpressionExpectedHere, "Erwartet String Ausdruck.", None, "") \
  X(280, BaudRateExpected, "Erwartet Baudrate 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600, 76800 oder 115200. ", None, "") \
  X(281, AdNeedsByteOrWord, "Erwartet BYTE oder WORD/INTEGER als passende Typdeklaration zu AD.", None, "") \
  X(282, MemoryDirectiveTooLate, "Die Einstellung, ob das Programm für das externe oder interne EEPROM oder FLASH compiliert werden soll, muss vor den ersten Anweisungen stehen.", None, "") \
  X(283, EepromInitialisationElsewhere, "EEPROM Variablen, die nicht auf dem selben EEPROM wie das Programm liegen, können nicht initialisiert werden.", None, "") \
  X(284, WordPortIndex, "Erwartet einen Word Port Index zwischen 1 und 2. (", Whole, ")") \
  X(285, TypeElementEndExpected, "Erwartet Zeilenende oder \",\" vor dem nächsten Element oder END TYPE.", None, "") \
  X(286, TypeElementAsExpected, "Erwartet AS ... Typdeklaration oder \",\" vor dem nächsten Element.", None, "") \
  X(287, TypeElementNameExpected, "Erwartet Bezeichner für Typenelement.", None, "") \
  X(288, TypeElementTypeExpected, "Erwartet einen BOOLEAN, BYTE, WORD/INTEGER oder STRING Datentyp. (", Whole, ")") \
  X(289, StructureElementNameExpected, "Erwartet eine Bezeichnung für ein Element der Datenstruktur.", None, "") \
  X(290, StructureDotExpected, "Erwartet \".\" ... Element.", None, "") \
  X(291, StructureVariableExpected, "Erwartet Variable vom Typ ", Whole, ".") \
  X(292, NotAStructureElement, "", Whole, " ist kein Element der Datenstruktur.") \
  X(293, StructureElementExpected, "Erwartet ein Element der Datenstruktur.", None, "") \
  X(294, FunctionNotCallable, "", Whole, " ist eine FUNCTION Prozedur mit Rückgabewert, die innerhalb eines beliebigen Ausdrucks aufgerufen werden kann. Mit CALL werden nur SUB Prozeduren ohne Rückgabewert aufgerufen.") \
  X(295, I2cByteOrWord, "I2C Bus Variable muss vom Typ BYTE oder WORD sein.", None, "") \
  X(296, I2cAddressRange, "Die I2C Bus Adresse muss zwischen 0 und 255 liegen.", None, "") \
  X(297, I2cArrayDimensions, "I2C Arrays können nur eindimensional (BYTE) oder zweidimensional (BOOLEAN) sein.", None, "") \
  X(298, I2cBooleanArraySize, "I2C BOOLEAN Arrays können in der letzten Indexgrenze nur 8 Elemente (Bits) umfassen.", None, "") \
  X(299, I2cBoolean, "I2C Bus Variable muss vom Typ BOOLEAN sein.", None, "") \
  X(300, StringSelfAssignment, "Die Stringvariable darf sich nicht selbst zuweisen.", None, "") \
  X(301, ParameterCountExpected, "Erwartet genau ", Whole, " Parameter.") \
  X(302, BytePortIndex1To2OnPyxon32, kBytePortIndex1To2, None, "")
// clang-format on
