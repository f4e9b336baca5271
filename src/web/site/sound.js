// The page's sound and voicing. The module describes the sound of each frame (the distance
// error's tone: {hertz, level}, and the events since the frame before, by word); a SoundVoice
// plays such frames into any Web Audio context, the page's own or an OfflineAudioContext. The
// SoundPlayer owns the page's one AudioContext, made only when the user turns the sound on, and
// suspended while it is off. The Speaker speaks the describer's words with the browser's speech
// synthesis, without a screen reader.

const GlideSeconds = 0.03; // the tone's pitch reaches a frame's within about this time
const RampSeconds = 0.03; // and its loudness, so that no change of level clicks
const ToneGain = 0.12; // the tone at level 1 and full volume: gentle on a projector's speakers
const EventGain = 0.2; // an event's notes at full volume
const AttackSeconds = 0.01; // an event note's rise from silence, then a straight fall to silence

// The tone and the event motifs on one Web Audio context, from a frame's sound.
export class SoundVoice {
  // `motifs`: each event's notes by its word, [[hertz, seconds], ...], as the module describes
  // them; each note a soft triangle wave, so that they stand apart from the tone's sine.
  constructor(context, motifs) {
    this.context = context;
    this.motifs = motifs;
    this.master = new GainNode(context, { gain: 0 }); // the user's volume
    this.master.connect(context.destination);
    this.toneGain = new GainNode(context, { gain: 0 });
    this.toneGain.connect(this.master);
    this.tone = new OscillatorNode(context, { type: 'sine', frequency: 220 });
    this.tone.connect(this.toneGain);
    this.tone.start();
  }

  // The volume (0 to 1) from `when` (seconds of the context's time) on.
  setVolume(volume, when) {
    this.master.gain.setTargetAtTime(volume, when, RampSeconds / 3);
  }

  // Plays one frame's sound from `when` on: the tone glides to its pitch and level, and each
  // event's motif starts.
  play({ hertz, level, events }, when) {
    if (hertz > 0) {
      this.tone.frequency.setTargetAtTime(hertz, when, GlideSeconds / 3);
    }
    this.toneGain.gain.setTargetAtTime(level * ToneGain, when, RampSeconds / 3);
    for (const word of events) {
      this.playMotif(this.motifs[word] ?? [], when);
    }
  }

  playMotif(notes, when) {
    let start = when;
    for (const [hertz, seconds] of notes) {
      const envelope = new GainNode(this.context, { gain: 0 });
      envelope.connect(this.master);
      envelope.gain.setValueAtTime(0, start);
      envelope.gain.linearRampToValueAtTime(EventGain, start + AttackSeconds);
      envelope.gain.linearRampToValueAtTime(0, start + seconds);
      const note = new OscillatorNode(this.context, { type: 'triangle', frequency: hertz });
      note.connect(envelope);
      note.onended = () => envelope.disconnect();
      note.start(start);
      note.stop(start + seconds);
      start += seconds;
    }
  }

  // Fades everything out from `when` on.
  silence(when) {
    this.master.gain.cancelScheduledValues(when);
    this.master.gain.setTargetAtTime(0, when, RampSeconds / 3);
  }
}

// The page's sound: nothing exists before the user turns it on, and nothing runs per frame
// while it is off (the module sends a frame's sound only while it is on).
export class SoundPlayer {
  constructor(motifs) {
    this.motifs = motifs;
    this.context = null;
    this.voice = null;
    this.on = false;
    this.volume = 0;
    this.paused = false;
  }

  // Follows the view's {on, volume}. The first turn on must come within the user's gesture
  // (the menu's click or the key), where the browser lets a page make and start its sound.
  apply({ on, volume }) {
    if (on === this.on && volume === this.volume) {
      return;
    }
    this.on = on;
    this.volume = volume;
    if (on) {
      const Context = window.AudioContext ?? window.webkitAudioContext;
      if (!this.context && Context) {
        this.context = new Context();
        this.voice = new SoundVoice(this.context, this.motifs);
      }
      if (!this.paused) {
        this.context?.resume().catch(() => {});
      }
      this.voice?.setVolume(volume, this.context?.currentTime ?? 0);
    } else if (this.context) {
      this.voice.silence(this.context.currentTime);
      const context = this.context;
      // Suspended once faded out, unless it was turned on again meanwhile.
      setTimeout(() => this.on || context.suspend().catch(() => {}), 1000 * 5 * RampSeconds);
    }
  }

  // Holds the sound while no frames come (the tab hidden, the simulation ended or crashed), so
  // that the last frame's tone does not sound on; and lets it go on again.
  pause(paused) {
    this.paused = paused;
    if (paused) {
      this.context?.suspend().catch(() => {});
    } else if (this.on) {
      this.context?.resume().catch(() => {});
    }
  }

  // Plays a frame's sound now.
  play(sound) {
    if (this.on && this.voice) {
      this.voice.play(sound, this.context.currentTime);
    }
  }
}

// Speaks a text in a language with the browser's speech synthesis; a new text cuts the one
// being spoken.
export class Speaker {
  say(text, language) {
    const synthesis = window.speechSynthesis;
    if (!synthesis || !text) {
      return;
    }
    synthesis.cancel();
    const utterance = new SpeechSynthesisUtterance(text);
    utterance.lang = language;
    synthesis.speak(utterance);
  }

  // Stops what is being spoken.
  hush() {
    window.speechSynthesis?.cancel();
  }
}
