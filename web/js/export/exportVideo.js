"use strict";
// Renders and encodes one export: the analysis drives a skin of its own on an offscreen canvas over
// the background, WebCodecs encodes H.264 and AAC, and the muxer hands out the MP4 by position.
{
    const { AudioAnalysis, monoMix, tickEnd, TICKS_PER_SECOND } = Vimbo.audioAnalysis;
    const { AudioFrame, SmoothedAudio } = Vimbo.audioFrame;
    const { videoBitrate, AUDIO_BITRATE, CHUNK_BYTES } = Vimbo.exportPlan;
    const PAGE_COLOURS = { dark: "#05060a", light: "#eef0f4" };
    const KEYFRAME_SECONDS = 2;
    const MAX_QUEUED_FRAMES = 4;
    const AUDIO_BLOCK_SECONDS = 1;

    class FrameRenderer {
        constructor({ skin, width, height, dark, glow, background }) {
            this.canvas = document.createElement("canvas");
            this.skinCanvas = document.createElement("canvas");
            for (const canvas of [this.canvas, this.skinCanvas]) Object.assign(canvas, { width, height });
            this.context = this.canvas.getContext("2d");
            this.skinContext = this.skinCanvas.getContext("2d");
            this.skin = Vimbo.skinCatalog.createSkin(skin);
            this.skin.resize(width, height);
            this.look = { dark, glow, glass: false, dpr: 1, width, height };
            this.background = background;
            this.frame = new AudioFrame();
            this.audio = new SmoothedAudio();
        }

        draw(features, seconds) {
            const { level, bass, mid, treble, energy, beat, spectrum } = features;
            this.frame.set(level, bass, mid, treble, energy, beat, spectrum);
            this.audio.follow(this.frame, seconds);
            this.skin.draw(this.skinContext, this.audio, this.look, seconds);
            this.paintBackground();
            this.context.drawImage(this.skinCanvas, 0, 0);
        }

        // The image covers the frame, cropped to keep its proportions; without one, the page colour.
        paintBackground() {
            const { context, background } = this;
            const { width, height } = this.look;
            context.fillStyle = this.look.dark ? PAGE_COLOURS.dark : PAGE_COLOURS.light;
            context.fillRect(0, 0, width, height);
            if (!background) return;
            const scale = Math.max(width / background.width, height / background.height);
            const w = background.width * scale;
            const h = background.height * scale;
            context.drawImage(background, (width - w) / 2, (height - h) / 2, w, h);
        }
    }

    // Features for each video frame from the 60 Hz ticks up to its time; a beat on a tick that falls
    // between two frames is kept for the next one.
    class FrameFeatures {
        constructor(sound) {
            this.mono = monoMix(Array.from({ length: sound.numberOfChannels }, (_, c) => sound.getChannelData(c)));
            this.rate = sound.sampleRate;
            this.analysis = new AudioAnalysis(this.rate);
            this.tick = 0;
            this.latest = this.analysis.decayEnergy();
        }

        // Video frame `index` at `fps` frames a second sees every tick up to its time.
        at(index, fps) {
            let beat = 0;
            while (this.tick < Math.floor((index * TICKS_PER_SECOND) / fps)) {
                this.tick++;
                this.latest = this.analysis.analyze(this.mono, tickEnd(this.tick, this.rate), this.tick / TICKS_PER_SECOND);
                beat = Math.max(beat, this.latest.beat);
            }
            return { ...this.latest, beat };
        }
    }

    // H.264 level by frame size and rate: 3.1 up to 720p30, 4.0 up to 1080p30, else 4.2.
    function videoCodec(width, height, fps) {
        const macroblocksPerSecond = Math.ceil(width / 16) * Math.ceil(height / 16) * fps;
        const level = macroblocksPerSecond <= 108000 ? "1f" : macroblocksPerSecond <= 245760 ? "28" : "2a";
        return "avc1.4d00" + level;
    }

    let gstreamerPrimed = false;
    // WebKitGTK's web process aborts when a VideoEncoder is its first use of GStreamer's encoders.
    function primeGStreamer() {
        if (gstreamerPrimed) return;
        gstreamerPrimed = true;
        if (typeof MediaRecorder !== "undefined") MediaRecorder.isTypeSupported("video/mp4");
    }

    function createEncoders(job, muxer, fail) {
        const { width, height, fps, sound } = job;
        primeGStreamer();
        const video = new VideoEncoder({ output: (chunk, meta) => muxer.addVideoChunk(chunk, meta), error: fail });
        video.configure({
            codec: videoCodec(width, height, fps),
            width,
            height,
            framerate: fps,
            bitrate: videoBitrate(width, height, fps),
            avc: { format: "avc" },
        });
        const audio = new AudioEncoder({ output: (chunk, meta) => muxer.addAudioChunk(chunk, meta), error: fail });
        audio.configure({
            codec: "mp4a.40.2",
            sampleRate: sound.sampleRate,
            numberOfChannels: sound.numberOfChannels,
            bitrate: AUDIO_BITRATE,
        });
        return { video, audio };
    }

    // Feeds the audio encoder up to `untilFrame` sample frames, in blocks of a second.
    function encodeAudioUntil(encoder, sound, state, untilFrame) {
        const block = sound.sampleRate * AUDIO_BLOCK_SECONDS;
        while (state.audioFrames < Math.min(untilFrame, sound.length)) {
            const count = Math.min(block, sound.length - state.audioFrames);
            const data = new Float32Array(count * sound.numberOfChannels);
            for (let c = 0; c < sound.numberOfChannels; c++) {
                data.set(sound.getChannelData(c).subarray(state.audioFrames, state.audioFrames + count), c * count);
            }
            const timestamp = Math.round((state.audioFrames * 1e6) / sound.sampleRate);
            const audioData = new AudioData({ format: "f32-planar", sampleRate: sound.sampleRate, numberOfFrames: count,
                numberOfChannels: sound.numberOfChannels, timestamp, data });
            encoder.encode(audioData);
            audioData.close();
            state.audioFrames += count;
        }
    }

    const nextTask = () => new Promise((resolve) => setTimeout(resolve, 0));

    // Encodes the whole job; `write(bytes, position)` receives the file, `progress(fraction)` is told
    // after each frame. Throws the stop's reason, or the first encoder error.
    async function encodeExport(job, { write, progress, stop }) {
        const { width, height, fps, sound } = job;
        const muxer = new Mp4Muxer.Muxer({
            target: new Mp4Muxer.StreamTarget({ onData: write, chunked: true, chunkSize: CHUNK_BYTES }),
            video: { codec: "avc", width, height, frameRate: fps },
            audio: { codec: "aac", numberOfChannels: sound.numberOfChannels, sampleRate: sound.sampleRate },
            fastStart: false,
        });
        const encoders = createEncoders(job, muxer, (error) => stop.stop(error));
        try {
            await encodeFrames(job, encoders, { progress, stop });
            await encoders.video.flush();
            await encoders.audio.flush();
            stop.check();
            muxer.finalize();
        } finally {
            for (const encoder of [encoders.video, encoders.audio]) if (encoder.state !== "closed") encoder.close();
        }
    }

    async function encodeFrames(job, { video, audio }, { progress, stop }) {
        const { fps, sound } = job;
        const renderer = new FrameRenderer(job);
        const features = new FrameFeatures(sound);
        const frames = Math.max(1, Math.ceil((sound.length / sound.sampleRate) * fps));
        const state = { audioFrames: 0 };
        for (let i = 0; i < frames; i++) {
            stop.check();
            renderer.draw(features.at(i, fps), 1 / fps);
            const timestamp = Math.round((i * 1e6) / fps);
            const frame = new VideoFrame(renderer.canvas, { timestamp, duration: Math.round(1e6 / fps) });
            video.encode(frame, { keyFrame: i % (fps * KEYFRAME_SECONDS) === 0 });
            frame.close();
            encodeAudioUntil(audio, sound, state, Math.ceil(((i + 1) / fps) * sound.sampleRate));
            progress((i + 1) / frames);
            // Lets the encoders drain and the screen take a Cancel click.
            do await nextTask();
            while (video.encodeQueueSize > MAX_QUEUED_FRAMES && stop.reason === null);
        }
        encodeAudioUntil(audio, sound, state, sound.length);
    }

    Vimbo.define("exportVideo", { encodeExport, videoCodec });
}
