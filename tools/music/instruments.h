#pragma once
// The module's instruments, synthesised here: drums from noise and swept
// sines, tones from single-cycle (or a few cycles of) additive waveforms.
// Every pitched instrument is tuned so that note C-4 sounds at 261.63 Hz.
#include "tools/music/xm_module.h"

#include <vector>

// Instrument numbers as pattern cells name them (1-based).
enum Instrument : uint8_t {
    INS_KICK = 1,   // swept sine with a click; higher notes make toms
    INS_SNARE,      // tone plus band-passed noise
    INS_HAT,        // short high-passed noise burst
    INS_CRASH,      // looped noise with a long decay; cut short it is an open hat
    INS_BASS,       // soft sawtooth with a sub sine, plucked
    INS_PAD,        // pulse wave whose width sweeps through its loop
    INS_LEAD,       // saw and square mix with delayed vibrato, panned centre
    INS_ECHO,       // darker copy of the lead, panned right, for the delay line
    INS_ARP,        // square pluck that pans to and fro, for chip arpeggios
    INS_BELL,       // bright decaying partials, for the break
    INSTRUMENT_COUNT = INS_BELL
};

// All instruments, in Instrument order (index 0 is INS_KICK).
std::vector<XmInstrument> synthesiseInstruments();
