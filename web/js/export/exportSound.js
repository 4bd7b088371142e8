"use strict";
// The export's sound: the chosen files decoded by Web Audio and played back to back into one
// stereo buffer at the video's audio rate, or a built-in beat and tone for the smoke test.
{
    const SAMPLE_RATE = 48000;
    const CHANNELS = 2;

    let decoder = null;
    // Decoded at the export's rate, so joining the files needs no resampling.
    async function decodeFile(base64) {
        if (decoder === null) decoder = new OfflineAudioContext(CHANNELS, 1, SAMPLE_RATE);
        return decoder.decodeAudioData(Vimbo.exportPlan.bytesOf(base64).buffer);
    }

    // One buffer holding every track in order (mono tracks play on both sides).
    async function joinTracks(buffers) {
        const length = buffers.reduce((sum, buffer) => sum + buffer.length, 0);
        const mix = new OfflineAudioContext(CHANNELS, Math.max(1, length), SAMPLE_RATE);
        let offset = 0;
        for (const buffer of buffers) {
            const source = mix.createBufferSource();
            source.buffer = buffer;
            source.connect(mix.destination);
            source.start(offset / SAMPLE_RATE);
            offset += buffer.length;
        }
        return mix.startRendering();
    }

    // Four seconds of kicks twice a second over a 220 Hz tone that swells, so every band moves.
    function testClip(seconds = 4) {
        const length = seconds * SAMPLE_RATE;
        const buffer = new AudioBuffer({ length, numberOfChannels: CHANNELS, sampleRate: SAMPLE_RATE });
        const left = buffer.getChannelData(0);
        for (let i = 0; i < length; i++) {
            const t = i / SAMPLE_RATE;
            const since = t % 0.5;
            const kick = Math.exp(-since * 16) * Math.sin(2 * Math.PI * (50 + 100 * Math.exp(-since * 25)) * since);
            const tone = Math.sin(2 * Math.PI * 220 * t) * (0.15 + 0.1 * Math.sin(Math.PI * t));
            left[i] = 0.6 * kick + tone + 0.05 * Math.sin(2 * Math.PI * 5000 * t) * (since < 0.05 ? 1 : 0);
        }
        buffer.copyToChannel(left, 1);
        return buffer;
    }

    Vimbo.define("exportSound", { SAMPLE_RATE, CHANNELS, decodeFile, joinTracks, testClip });
}
