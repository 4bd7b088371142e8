"use strict";
// Renders and encodes one export: the analysis drives a skin of its own on an offscreen canvas over
// the background, WebCodecs encodes H.264 and AAC, and the muxer hands out the MP4 by position.
{
    const { AudioFrame, SmoothedAudio } = Vimbo.audioFrame;
    const { SAMPLE_RATE, CHANNELS } = Vimbo.exportSound;
    const { videoBitrate, encoderBitrate, AUDIO_BITRATE, CHUNK_BYTES } = Vimbo.exportPlan;
    const PAGE_COLOURS = { dark: "#05060a", light: "#eef0f4" };
    const KEYFRAME_SECONDS = 2;
    const MAX_QUEUED_FRAMES = 4;
    // The sound is read, analysed and encoded a second at a time.
    const BLOCK_FRAMES = SAMPLE_RATE;

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
            return this.canvas;
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
        const { width, height, fps } = job;
        primeGStreamer();
        const video = new VideoEncoder({ output: (chunk, meta) => muxer.addVideoChunk(chunk, meta), error: fail });
        video.configure({
            codec: videoCodec(width, height, fps),
            width,
            height,
            framerate: fps,
            bitrate: encoderBitrate(videoBitrate(width, height, fps), fps),
            avc: { format: "avc" },
        });
        const audio = new AudioEncoder({ output: (chunk, meta) => muxer.addAudioChunk(chunk, meta), error: fail });
        audio.configure({
            codec: "mp4a.40.2",
            sampleRate: SAMPLE_RATE,
            numberOfChannels: CHANNELS,
            bitrate: AUDIO_BITRATE,
        });
        return { video, audio };
    }

    // One block of the sound, starting `at` sample frames into it, to the audio encoder.
    function encodeAudio(encoder, { channels, length }, at) {
        const data = new Float32Array(length * channels.length);
        channels.forEach((channel, c) => data.set(channel, c * length));
        const timestamp = Math.round((at * 1e6) / SAMPLE_RATE);
        const audioData = new AudioData({ format: "f32-planar", sampleRate: SAMPLE_RATE, numberOfFrames: length,
            numberOfChannels: channels.length, timestamp, data });
        encoder.encode(audioData);
        audioData.close();
    }

    const nextTask = () => new Promise((resolve) => setTimeout(resolve, 0));

    // Encodes the whole job; `write(bytes, position)` receives the file, `progress(fraction)` is told
    // after each frame. Throws the stop's reason, or the first encoder error.
    async function encodeExport(job, { write, progress, stop }) {
        const { width, height, fps } = job;
        const muxer = new Mp4Muxer.Muxer({
            target: new Mp4Muxer.StreamTarget({ onData: write, chunked: true, chunkSize: CHUNK_BYTES }),
            video: { codec: "avc", width, height, frameRate: fps },
            audio: { codec: "aac", numberOfChannels: CHANNELS, sampleRate: SAMPLE_RATE },
            // Written as it is made (the movie box last), so nothing piles up with the length.
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

    // Reads the sound a block at a time: the block goes to the audio encoder and the analysis, then
    // every video frame whose ticks it completes is drawn and encoded.
    async function encodeFrames(job, encoders, { progress, stop }) {
        const { fps, tracks } = job;
        const sound = new Vimbo.SoundStream(tracks);
        const frames = Math.max(1, Math.ceil((sound.frames / SAMPLE_RATE) * fps));
        const renderer = new FrameRenderer(job);
        const features = new Vimbo.FrameFeatures(SAMPLE_RATE);
        let frame = 0;
        let read = 0;
        for (let block; (block = await sound.read(BLOCK_FRAMES)) !== null; read += block.length) {
            stop.check();
            encodeAudio(encoders.audio, block, read);
            features.append(block.channels);
            for (; frame < frames && features.covers(frame, fps); frame++) {
                await encodeFrame(encoders.video, renderer.draw(features.at(frame, fps), 1 / fps), frame, fps, stop);
                progress((frame + 1) / frames);
            }
        }
    }

    async function encodeFrame(video, canvas, index, fps, stop) {
        stop.check();
        const frame = new VideoFrame(canvas, { timestamp: Math.round((index * 1e6) / fps), duration: Math.round(1e6 / fps) });
        video.encode(frame, { keyFrame: index % (fps * KEYFRAME_SECONDS) === 0 });
        frame.close();
        // Lets the encoders drain and the screen take a Cancel click.
        do await nextTask();
        while (video.encodeQueueSize > MAX_QUEUED_FRAMES && stop.reason === null);
    }

    Vimbo.define("exportVideo", { encodeExport, videoCodec });
}
