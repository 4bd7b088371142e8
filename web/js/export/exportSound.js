"use strict";
// The export's sound: the chosen files, decoded by Web Audio at the video's audio rate one at a time
// as the export reaches them and played back to back, or a built-in beat and tone for the smoke test.
// Each is a track for the sound stream: its length in sample frames and how to get its stereo samples.
{
    const SAMPLE_RATE = 48000;
    const CHANNELS = 2;
    // The built-in clip is made in pieces of this length as the export reaches them.
    const TEST_PIECE_SECONDS = 10;

    let decoder = null;
    // Decoded at the export's rate, so playing the files back to back needs no resampling.
    async function decode(base64) {
        if (decoder === null) decoder = new OfflineAudioContext(CHANNELS, 1, SAMPLE_RATE);
        return decoder.decodeAudioData(Vimbo.exportPlan.bytesOf(base64).buffer);
    }

    // Left and right of a decoded buffer: mono plays on both sides, more channels are mixed down as
    // Web Audio mixes them for stereo speakers.
    async function stereoOf(buffer) {
        if (buffer.numberOfChannels <= CHANNELS) {
            return [0, 1].map((c) => buffer.getChannelData(Math.min(c, buffer.numberOfChannels - 1)));
        }
        const mix = new OfflineAudioContext(CHANNELS, buffer.length, SAMPLE_RATE);
        const source = mix.createBufferSource();
        source.buffer = buffer;
        source.connect(mix.destination);
        source.start();
        const mixed = await mix.startRendering();
        return [0, 1].map((c) => mixed.getChannelData(c));
    }

    // A picked file, decoded once to learn its length (and that it is audio) and again when its turn comes.
    async function fileTrack(base64) {
        const frames = (await decode(base64)).length;
        return { frames, load: async () => stereoOf(await decode(base64)) };
    }

    // Kicks twice a second over a 220 Hz tone that swells, so every band moves: `length` sample frames
    // from `start`.
    function testClip(start, length) {
        const left = new Float32Array(length);
        for (let i = 0; i < length; i++) {
            const t = (start + i) / SAMPLE_RATE;
            const since = t % 0.5;
            const kick = Math.exp(-since * 16) * Math.sin(2 * Math.PI * (50 + 100 * Math.exp(-since * 25)) * since);
            const tone = Math.sin(2 * Math.PI * 220 * t) * (0.15 + 0.1 * Math.sin(Math.PI * t));
            left[i] = 0.6 * kick + tone + 0.05 * Math.sin(2 * Math.PI * 5000 * t) * (since < 0.05 ? 1 : 0);
        }
        return [left, left];
    }

    function testTracks(seconds) {
        const total = Math.round(seconds * SAMPLE_RATE);
        const piece = TEST_PIECE_SECONDS * SAMPLE_RATE;
        const tracks = [];
        for (let start = 0; start < total; start += piece) {
            const frames = Math.min(piece, total - start);
            tracks.push({ frames, load: async () => testClip(start, frames) });
        }
        return tracks;
    }

    Vimbo.define("exportSound", { SAMPLE_RATE, CHANNELS, fileTrack, testTracks });
}
